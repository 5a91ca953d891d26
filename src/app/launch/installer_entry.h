#pragma once

// Windows Installer entries never lack their uninstaller, msiexec; but when Windows Installer
// does not know their product any more, msiexec can only fail with a box of its own. Such an
// entry is as orphaned as one whose uninstaller is gone.

#include <optional>
#include <set>
#include <string>

#include "app/entry/program_entry.h"
#include "platform/launcher.h"

namespace app {

// The product code of a Windows Installer entry, or empty: its key is named by a product code,
// and either it names no command and is marked as Windows Installer's, or its command is
// msiexec with /X or /I and that same code.
std::string InstallerEntryCode(const ProgramEntry& program);

// Whether Windows Installer answers that it does not know the entry's product. Anything else,
// msi.dll or its call missing included, leaves the entry to msiexec.
// known: every product Windows Installer knows, asked for at once by a caller with many entries
// (InstallerProducts); without it, the entry's product is asked about alone.
using KnownProducts = std::set<std::string>;
bool IsUnknownToWindowsInstaller(const ProgramEntry& program, platform::Launcher& launcher,
                                 const KnownProducts* known = nullptr);

// What Windows Installer knows, in upper case; nothing when it cannot tell.
std::optional<KnownProducts> KnownInstallerProducts(platform::Launcher& launcher);

}  // namespace app
