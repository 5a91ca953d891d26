#pragma once

#include <string>

#include "app/program_icon.h"

namespace app {

// Where an uninstall entry was read: it decides the environment and the system folder its
// command is resolved in.
enum class EntryView {
  kMachineDefault,  // HKLM as this 32-bit program sees it
  kMachine64,       // HKLM through the 64-bit view
  kUser,            // HKCU, one key in both views
};

// One listed program: what its menu items show and launch.
struct ProgramEntry {
  std::string name;
  std::string command;
  EntryView view = EntryView::kMachineDefault;
  // For a Windows Installer entry without a command: its product code ("{...}"); else empty.
  std::string product_code;
  ProgramIcon icon = {};
  // The entry's key under the uninstall key of its view: read again to tell whether it went.
  std::string key_name = {};
  // The command the installer registered for removing without questions; may be empty.
  std::string quiet_command = {};
  // The Windows Installer wrote the entry: its key is the product's code.
  bool windows_installer = false;
};

}  // namespace app
