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
  // The name of the entry's own key under the Uninstall key of its view.
  std::string key_name = {};
};

}  // namespace app
