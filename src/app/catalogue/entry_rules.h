#pragma once

// Which uninstall entries Windows' own list of programs shows: the hidden parts of other
// programs, their updates and entries with nothing to run are left to the programs that own
// them.

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace app {

// What an entry's open key says about itself, each value read when a rule first asks for it:
// a rule that has decided reads nothing more. A value of the wrong type counts as absent.
class EntryFacts {
 public:
  EntryFacts(platform::TRegistry& entry, std::string_view key_name)
      : entry_(entry), key_name_(key_name) {}

  std::string_view KeyName() const { return key_name_; }
  std::optional<std::uint32_t> SystemComponent();   // a 4-byte REG_DWORD
  std::string ParentKeyName();                      // text
  std::string ReleaseType();                        // text
  std::optional<std::uint32_t> WindowsInstaller();  // a 4-byte REG_DWORD

 private:
  platform::TRegistry& entry_;
  std::string_view key_name_;
};

// A Windows Installer entry whose uninstall is msiexec /X with its product code. Only a key
// named by a product code has "WindowsInstaller" read.
bool IsWindowsInstallerProduct(EntryFacts& facts);

// What a quiet uninstall needs of an entry, which the scan reads only where the list needs it.
struct QuietFacts {
  std::string quiet_command;       // "QuietUninstallString" when it is text; else empty
  bool windows_installer = false;  // IsWindowsInstallerProduct
};
QuietFacts ReadQuietFacts(platform::TRegistry& entry, std::string_view key_name);

// Windows' list leaves the entry to the program it belongs to: a system component, a part of
// another program, or an update of one. Decided by the first of these that hides it.
bool IsPartOfAnother(EntryFacts& facts);

// Whether the entry has something to run: a command of its own (UninstallString, or else
// QuietUninstallString), or, without one, msiexec's removal of its product.
bool HasSomethingToRun(EntryFacts& facts, std::string_view command);

}  // namespace app
