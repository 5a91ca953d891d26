#pragma once

// The program's own texts, names and numbers.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/windowing.h"

namespace app {

inline constexpr std::string_view kTitle = "Tapwise Uninstaller";
inline constexpr std::string_view kVersion = "1.9";

// The maker's web host, the one place it is named.
inline constexpr std::string_view kMakerSite = "https://www.quillon-software.com";
inline constexpr std::string_view kToolsPage = "/tapwise-uninstaller/tools.php?ver=1.9";
inline constexpr std::string_view kUpdatePage = "/tapwise-uninstaller/mail.php?ver=1.9";
inline constexpr std::string_view kHomePage = "/tapwise-uninstaller/?vid=1.9";
inline constexpr std::string_view kSupportPage = "/support.htm?v=1.9";

inline std::string WebAddress(std::string_view path) {
  return std::string(kMakerSite) + std::string(path);
}

inline std::string AboutText() {
  return std::string(kTitle) + " v" + std::string(kVersion) +
         "\r\n\r\nCopyright (C) 2009-2026 Quillon Software\r\n\r\n" + std::string(kMakerSite);
}

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

inline constexpr std::string_view kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr std::string_view kSettingsKey = "Software\\Quillon\\Tapwise Uninstaller";
inline constexpr std::string_view kLastValue = "Last";

// Separates the display name from the command in a program-list line.
inline constexpr std::string_view kEntrySeparator = "<#>";

// Menu-loop notifications, sent to the active form.
inline constexpr platform::MessageId kCmMenuClosed = 0xB3E9;
inline constexpr platform::MessageId kCmEnterMenuLoop = 0xB3EA;
inline constexpr platform::MessageId kCmExitMenuLoop = 0xB3EB;

inline constexpr std::uint32_t kAutoCloseMs = 3000;
inline constexpr std::size_t kRecentItems = 8;

}  // namespace app
