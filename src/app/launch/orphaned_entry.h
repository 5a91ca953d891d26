#pragma once

// Whether an entry is orphaned, as the menu finds it when the entry is chosen, told without
// starting anything: for the elevated step that removes one, and for the command-line list.

#include "app/entry/program_entry.h"
#include "app/launch/installer_entry.h"
#include "app/paths/registered_path.h"

namespace app {

// The program the entry names is not there, or Windows Installer does not know its product.
// known: as for IsUnknownToWindowsInstaller.
bool IsOrphaned(const PathSystem& system, const ProgramEntry& program,
                const KnownProducts* known = nullptr);

}  // namespace app
