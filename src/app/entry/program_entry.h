#pragma once

#include <optional>
#include <string>

#include "app/paths/entry_view.h"

namespace app {

// One listed program: what its menu items show, launch and draw.
struct ProgramEntry {
  std::string name;
  std::string command;
  EntryView view = EntryView::kMachineDefault;
  // The entry's key name when it is a Windows Installer product code ("{...}"); else empty.
  std::string product_code;
  // The Windows Installer wrote the entry: msiexec removes it by its product code when it names
  // no command of its own. The scan reads it only for such an entry; a quiet uninstall reads it
  // again (quiet_command.h).
  bool windows_installer = false;
  // "DisplayIcon" as registered: "path,index", maybe quoted. Known only when the install date
  // had to read it; otherwise the icon's job reads it from the entry's key.
  std::optional<std::string> display_icon = {};
  // The entry's key under the uninstall key of its view: read again to tell whether it went.
  std::string key_name = {};
  // The command the installer registered for removing without questions; may be empty. The
  // scan reads it only when it is the command; a quiet uninstall reads it again.
  std::string quiet_command = {};
};

}  // namespace app
