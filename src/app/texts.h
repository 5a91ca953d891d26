#pragma once

// Every text the program shows, every address it opens, every registry name it uses and every
// timing it keeps, each spelled once.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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

// The box for an uninstaller that the system would not start, with the system's reason.
inline std::string FailedUninstallerText(const std::string& display_name,
                                         const std::string& reason) {
  return std::string(kTitle) + " cannot start the uninstaller of \"" + display_name + "\":\r\r" +
         reason;
}

// The registry: where programs register, where this program keeps its one value.
inline constexpr std::string_view kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr std::string_view kSettingsKey = "Software\\Quillon\\Tapwise Uninstaller";
inline constexpr std::string_view kLastValue = "Last";

// The values of an uninstall entry that the catalogue reads.
inline constexpr const char* kDisplayNameValue = "DisplayName";
inline constexpr const char* kNoRemoveValue = "NoRemove";
inline constexpr const char* kUninstallStringValue = "UninstallString";
inline constexpr const char* kQuietUninstallStringValue = "QuietUninstallString";
inline constexpr const char* kInstallDateValue = "InstallDate";
inline constexpr const char* kDisplayIconValue = "DisplayIcon";
inline constexpr const char* kSystemComponentValue = "SystemComponent";
inline constexpr const char* kParentKeyNameValue = "ParentKeyName";
inline constexpr const char* kReleaseTypeValue = "ReleaseType";
inline constexpr const char* kWindowsInstallerValue = "WindowsInstaller";

// Separates the display name from the command in a program-list line.
inline constexpr std::string_view kEntrySeparator = "<#>";

inline constexpr std::uint32_t kAutoCloseMs = 3000;
// Typing into a submenu: a key after a longer pause starts the text anew, as in list views.
inline constexpr std::int64_t kTypingPauseMs = 1000;
inline constexpr std::size_t kRecentItems = 8;

}  // namespace app
