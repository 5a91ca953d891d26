#pragma once

// What the command line's actions say on standard error: one line each, the program's name
// first, so that a script's log tells whose line it is.

#include <cstdint>
#include <string>
#include <string_view>

#include "app/texts/texts.h"

namespace app {

inline std::string ScriptLine(std::string_view said) {
  return std::string(kTitle) + ": " + std::string(said);
}

inline std::string NoSuchIdText(std::string_view id) {
  return "no program has the id \"" + std::string(id) + "\".";
}

inline std::string NoQuietCommandText(const std::string& name) {
  return "\"" + name +
         "\" registered no way to uninstall it without its own questions; leave out /quiet to "
         "start its uninstaller.";
}

inline std::string RestartNeededText(const std::string& name) {
  return "\"" + name + "\" has been uninstalled; Windows must restart to finish removing it.";
}

inline std::string StillListedText(const std::string& name, std::uint32_t exit_code) {
  return "the uninstaller of \"" + name + "\" ended with code " + std::to_string(exit_code) +
         ", and the program is still listed.";
}

inline std::string NotFollowedText(const std::string& name) {
  return "the uninstaller of \"" + name +
         "\" was started, but how it ended cannot be told, and the program is still listed.";
}

inline std::string StillRunningText(const std::string& name) {
  return "the uninstaller of \"" + name +
         "\" is still running at the end of the wait; it has been left running.";
}

inline std::string NeedsAdministratorText(const std::string& name) {
  return "the uninstaller of \"" + name +
         "\" needs administrator rights; run the script as an administrator.";
}

inline std::string RightsDeclinedText(const std::string& name) {
  return "administrator rights were declined: nothing of \"" + name + "\" was uninstalled.";
}

inline std::string NoUninstallerText(const std::string& name) {
  return "\"" + name + "\" names no uninstaller.";
}

inline std::string UninstallerMissingText(const std::string& name, const std::string& looked_for) {
  return "the uninstaller of \"" + name + "\" is not there: " + looked_for;
}

inline std::string UnknownProductText(const std::string& name, const std::string& product_code) {
  return "Windows Installer does not know the product of \"" + name + "\": " + product_code;
}

inline std::string CannotStartText(const std::string& name, const std::string& reason) {
  return "cannot start the uninstaller of \"" + name + "\": " + reason;
}

inline std::string NoStandardOutputText() {
  return "there is no standard output to write the list to; name a file after /list.";
}

inline std::string ListNotWrittenText(const std::string& file, const std::string& reason) {
  return "cannot write the list to \"" + file + "\": " + reason;
}

}  // namespace app
