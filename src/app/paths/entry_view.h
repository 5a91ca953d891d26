#pragma once

namespace app {

// Where an uninstall entry was read: it decides the environment and the system folder its
// command and icon are resolved in.
enum class EntryView {
  kMachineDefault,  // HKLM as this 32-bit program sees it
  kMachine64,       // HKLM through the 64-bit view
  kUser,            // HKCU, one key in both views
};

}  // namespace app
