#pragma once

#include <string>

#include "app/entry/program_entry.h"

namespace app {

// The command an entry uninstalls with: its own, or for a Windows Installer entry without one,
// msiexec's removal by the product's code. It is what "Last" remembers.
std::string UninstallCommand(const ProgramEntry& program);

}  // namespace app
