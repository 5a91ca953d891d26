#pragma once

// Where programs register for uninstalling, and the values of an entry that this program reads.

#include <string_view>

namespace app {

// The key under which every uninstall entry lies, in each root and view.
inline constexpr std::string_view kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The values of an uninstall entry that the program reads.
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
// Read only for the command-line list.
inline constexpr const char* kDisplayVersionValue = "DisplayVersion";
inline constexpr const char* kPublisherValue = "Publisher";
inline constexpr const char* kEstimatedSizeValue = "EstimatedSize";

}  // namespace app
