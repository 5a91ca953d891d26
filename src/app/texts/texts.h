#pragma once

// Every text the program shows and every address it opens, each spelled once. The registry
// names and the timings live with the features that use them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace app {

inline constexpr std::string_view kTitle = "Tapwise Uninstaller";
inline constexpr std::string_view kVersion = "1.9";

// Captions of the hidden main form and of the options dialog and its controls.
inline constexpr std::string_view kMainFormCaption = "Tapwise Uninstall";
inline constexpr std::string_view kOptionsCaption = "Tapwise Uninstaller \\ Options";
inline constexpr std::string_view kHideMicrosoftCaption = "Hide Microsoft products";
inline constexpr std::string_view kShowNoRemoveCaption = "Show programs with \"NoRemove\" flag";
inline constexpr std::string_view kShowSystemComponentsCaption =
    "Show system components and updates";
inline constexpr std::string_view kOkCaption = "OK";
// The review of what an uninstall left behind.
inline constexpr std::string_view kRemoveCheckedCaption = "Remove checked";
inline constexpr std::string_view kCancelCaption = "Cancel";
inline std::string LeftBehindCaption(const std::string& name) {
  return "Tapwise Uninstaller \\ Left behind by " + name;
}
// The menu's submenu of records whose program is gone, and each of its rows.
inline constexpr std::string_view kLeftBehindCaption = "Left behind";
inline std::string LeftBehindRowCaption(const std::string& name) {
  return name + "\u2026";
}
inline std::string LookingForLeftoversText(const std::string& name) {
  return "Looking for what " + name + " left behind\u2026";
}
inline std::string NothingLeftBehindText(const std::string& name) {
  return "Nothing that " + name + " left behind was found.";
}
inline constexpr std::string_view kMachineItemsNextText =
    "What it left for all users is reviewed next, with administrator rights.";
inline constexpr std::string_view kMachineReviewFromUserFolderText =
    "What was left behind for all users can be reviewed only by Tapwise Uninstaller installed "
    "for everyone: this copy lies where users may change it.";
inline constexpr std::string_view kRecordUnreadableText =
    "The record of that uninstall could not be read.";
inline std::string MachineReviewFailedText(const std::string& reason) {
  return "What was left behind for all users could not be reviewed: " + reason;
}

// The menu's fixed captions; "-" draws a separator line.
inline constexpr std::string_view kAllProgramsCaption = "All Programs";
inline constexpr std::string_view kRecentProgramsCaption = "Recent Programs";
inline constexpr std::string_view kKillProcessCaption = "Kill Process";
inline constexpr std::string_view kOptionsItemCaption = "Options...";
inline constexpr std::string_view kCheckForUpdatesCaption = "Check for Updates";
inline constexpr std::string_view kVisitWebSiteCaption = "Visit Web Site";
inline constexpr std::string_view kSendMessageCaption = "Send Message";
inline constexpr std::string_view kAboutItemCaption = "About...";
inline constexpr std::string_view kExitCaption = "Exit";
inline constexpr std::string_view kSeparatorCaption = "-";

// The maker's web host, the one place it is named, and its pages.
inline constexpr std::string_view kMakerSite = "https://www.quillon-software.com";
inline constexpr std::string_view kToolsPage = "/tapwise-uninstaller/tools.php?ver=1.9";
inline constexpr std::string_view kUpdatePage = "/tapwise-uninstaller/mail.php?ver=1.9";
inline constexpr std::string_view kHomePage = "/tapwise-uninstaller/?vid=1.9";
inline constexpr std::string_view kSupportPage = "/support.htm?v=1.9";

inline std::string WebAddress(std::string_view path) {
  return std::string(kMakerSite) + std::string(path);
}

inline std::string AboutCaption() {
  return "About " + std::string(kTitle);
}

inline std::string AboutText() {
  return std::string(kTitle) + " v" + std::string(kVersion) +
         "\r\n\r\nCopyright (C) 2009-2026 Quillon Software\r\n\r\n" + std::string(kMakerSite);
}

// Asked at start when the program whose uninstaller was started last is still listed.
inline std::string StillInstalledText(const std::string& display_name) {
  return "You tried to uninstall \"" + display_name +
         "\", but it still exists.\r\rWould you like to uninstall it using more powerful "
         "uninstaller?";
}

// Shown for a chosen program that registers no command.
inline constexpr std::string_view kCannotUninstallText =
    "Tapwise Uninstaller cannot uninstall this program. Please try another tool.";

// The box for an uninstaller that is not there, or may not be started.
inline std::string MissingUninstallerText(const std::string& display_name,
                                          const std::string& looked_for) {
  return std::string(kTitle) + " cannot find the uninstaller of \"" + display_name + "\":\r\r" +
         looked_for;
}

// The offer to take an entry off the list, after what the box says of its program.
inline std::string RemovalOfferText(const std::string& display_name) {
  return "\r\rThe program may have been removed already.\r\rRemove \"" + display_name +
         "\" from the list of programs? A copy of its entry is saved first.";
}

// The box for an entry whose uninstaller's file is not there.
inline std::string OrphanedEntryQuestion(const std::string& display_name,
                                         const std::string& looked_for) {
  return MissingUninstallerText(display_name, looked_for) + RemovalOfferText(display_name);
}

// The box for a Windows Installer entry whose product Windows Installer does not know.
inline std::string UnknownProductQuestion(const std::string& display_name,
                                          const std::string& product_code) {
  return "Windows Installer does not know the product of \"" + display_name + "\":\r\r" +
         product_code + RemovalOfferText(display_name);
}

// What the removal of such an entry came to.
inline std::string EntryRemovedText(const std::string& display_name, const std::string& copy) {
  return "\"" + display_name +
         "\" was removed from the list of programs. A copy of its entry is in:\r\r" + copy;
}
inline std::string EntryNotRemovedText(const std::string& display_name) {
  return "\"" + display_name + "\" is still in the list of programs.";
}
inline std::string EntryPartlyRemovedText(const std::string& display_name,
                                          const std::string& copy) {
  return "\"" + display_name +
         "\" was only partly removed from the list of programs. A copy of its entry as it was is "
         "in:\r\r" +
         copy;
}
inline std::string EntryRemovalNotKnownText(const std::string& display_name,
                                            const std::string& copy) {
  return "Whether \"" + display_name +
         "\" was removed from the list of programs is not known yet. A copy of its entry is "
         "in:\r\r" +
         copy;
}
inline std::string EntryNotReadText(const std::string& display_name) {
  return "\"" + display_name +
         "\" was not removed from the list of programs: its entry could not be read.";
}
inline std::string EntryChangedText(const std::string& display_name) {
  return "\"" + display_name +
         "\" was not removed from the list of programs: its entry changed after you were asked. "
         "Nothing was removed.";
}
// The values of an entry that its copy cannot give back exactly, each as "<key>: <value>", and
// how many more there are past those.
inline std::string InexactValuesText(const std::vector<std::string>& values, std::size_t more) {
  std::string text =
      "\r\rOpening the copy cannot put these values back exactly, since Windows' registry editor "
      "adds an end to text that has none:\r";
  for (const std::string& value : values) text += "\r" + value;
  if (more != 0) text += "\rand " + std::to_string(more) + " more";
  return text;
}
inline constexpr std::string_view kDefaultValueName = "(Default)";

inline std::string EntryNotOrphanedText(const std::string& display_name) {
  return "\"" + display_name +
         "\" was not removed from the list of programs: its uninstaller is there after all.";
}
inline std::string EntryFromUserFolderText(const std::string& display_name) {
  return "\"" + display_name +
         "\" was not removed from the list of programs. An entry for every user of this computer "
         "can be removed only by " +
         std::string(kTitle) +
         " installed for everyone, in a folder that only administrators can change.";
}
inline std::string EntryStepRefusedText(const std::string& display_name) {
  return "\"" + display_name + "\" was not removed from the list of programs.";
}
// Why the elevated step refused.
inline constexpr std::string_view kNoSuchEntryReason =
    "Its entry is no longer where it was listed.";
inline constexpr std::string_view kStoreRefusedReason =
    "The folder for the copies of entries for every user, under ProgramData, could not be made, "
    "or can be changed by users other than administrators.";
inline constexpr std::string_view kCopyNameRefusedReason =
    "The name for the copy of its entry was refused.";
inline constexpr std::string_view kStepFailedReason =
    "The step that removes it with administrator rights did not run as asked.";
inline std::string EntryNotCopiedText(const std::string& display_name, const std::string& copy) {
  std::string text = "\"" + display_name +
                     "\" was not removed from the list of programs: a copy of its entry could not "
                     "be saved";
  return copy.empty() ? text + "." : text + " as:\r\r" + copy;
}
inline std::string EntryHoldsLinkText(const std::string& display_name, const std::string& link) {
  return "\"" + display_name +
         "\" was not removed from the list of programs: its entry holds a registry link, which a "
         "copy cannot hold, and which could lead the removal outside the entry" +
         (link.empty() ? std::string(".") : ":\r\r" + link);
}
inline std::string EntryTooLargeText(const std::string& display_name) {
  return "\"" + display_name +
         "\" was not removed from the list of programs: its entry is too large for a copy. It "
         "holds more than 64 MB, or more than there is room for in memory.";
}
inline std::string EntryLeftAsideText(const std::string& display_name, const std::string& key,
                                      const std::string& copy) {
  std::string text = "\"" + display_name +
                     "\" was not removed from the list of programs, and could not be put back "
                     "under its own name, which was taken meanwhile. Its entry is now:\r\r" +
                     key;
  return copy.empty() ? text : text + "\r\rA copy of it is in:\r\r" + copy;
}
inline std::string EntryRewrittenText(const std::string& display_name, const std::string& copy) {
  return EntryRemovedText(display_name, copy) +
         "\r\rMeanwhile a new entry was written under the same name; it is still in the list.";
}
inline constexpr std::string_view kUnwritableNameReason =
    "A name in the entry holds a character that a .reg file cannot hold.";
inline constexpr std::string_view kCopyDiffersReason =
    "The copy did not read back as it was written.";
inline constexpr std::string_view kDeclinedReason = "Administrator rights were not given.";

// The box for an uninstaller that the system would not start, with the system's reason.
inline std::string FailedUninstallerText(const std::string& display_name,
                                         const std::string& reason) {
  return std::string(kTitle) + " cannot start the uninstaller of \"" + display_name + "\":\r\r" +
         reason;
}

// A quiet uninstall: the question before it, and the one box that says how it ended.
inline std::string QuietConfirmText(const std::string& display_name) {
  return "Remove \"" + display_name + "\" without its own questions?";
}

inline std::string QuietRemovedText(const std::string& display_name, bool restart) {
  std::string text = "\"" + display_name + "\" has been uninstalled.";
  if (restart) text += "\r\rWindows must restart to finish removing it.";
  return text;
}

inline constexpr std::string_view kQuietCancelledMeaning = "the uninstall was cancelled";
inline constexpr std::string_view kQuietNotInstalledMeaning =
    "the program is not installed as its entry says";
inline constexpr std::string_view kQuietInstallRunningMeaning =
    "another installation is running; try again once it has finished";

// meaning: what the code means, when it is one that says; may be empty.
inline std::string QuietFailedText(const std::string& display_name, std::uint32_t exit_code,
                                   std::string_view meaning) {
  std::string text =
      "The uninstaller of \"" + display_name + "\" ended with code " + std::to_string(exit_code);
  if (!meaning.empty()) text += " (" + std::string(meaning) + ")";
  return text + ", and the program is still listed.";
}

inline std::string QuietListedAfterSuccessText(const std::string& display_name) {
  return "The uninstaller of \"" + display_name +
         "\" reported success, but the program is still listed.";
}

inline std::string QuietStillRunningText(const std::string& display_name) {
  return "The uninstaller of \"" + display_name +
         "\" is still running. It may be waiting for an answer in a window of its own; " +
         std::string(kTitle) + " has left it running.";
}

inline std::string QuietNotFollowedText(const std::string& display_name) {
  return "The uninstaller of \"" + display_name +
         "\" was started, but how it ended cannot be told, and the program is still listed.";
}

inline std::string QuietDeclinedText(const std::string& display_name) {
  return "Administrator rights were declined: nothing of \"" + display_name + "\" was uninstalled.";
}
}  // namespace app
