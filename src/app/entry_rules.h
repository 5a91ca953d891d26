#pragma once

// Which uninstall entries Windows' own list of programs shows: the hidden parts of other
// programs, their updates and entries with nothing to run are left to the programs that own
// them.

#include <optional>
#include <string>
#include <string_view>

namespace app {

// What an entry says about itself. A value of the wrong type counts as absent.
struct EntryFacts {
  std::string key_name;
  std::optional<std::uint32_t> system_component;  // a 4-byte REG_DWORD
  std::string parent_key_name;
  std::string release_type;
  std::optional<std::uint32_t> windows_installer;  // a 4-byte REG_DWORD
  bool has_command = false;  // a non-empty UninstallString or QuietUninstallString
};

// A Windows Installer entry whose uninstall is msiexec /X with its product code.
bool IsWindowsInstallerProduct(const EntryFacts& facts);

// Whether Windows' list shows the entry, its display name aside: no system component, no
// update of another program, and something to run.
bool ShownByWindows(const EntryFacts& facts);

}  // namespace app
