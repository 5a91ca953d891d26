#include "app/entry/uninstall_command.h"

#include "app/entry/windows_installer.h"
#include "app/paths/registered_command.h"

namespace app {

std::string UninstallCommand(const ProgramEntry& program) {
  if (IsBlankCommand(program.command) && program.windows_installer) {
    return InstallerRemoveCommand(program.product_code);
  }
  return program.command;
}

}  // namespace app
