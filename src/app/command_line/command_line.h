#pragma once

// What the program is asked to do by its command line. Without arguments it shows its menu, as
// it always has; every other use is one verb with its arguments, and anything else is a usage
// error that names what was wrong.

#include <string>
#include <string_view>
#include <vector>

#include "app/paths/entry_view.h"

namespace app {

// What a usage error ends the program with.
inline constexpr int kUsageExitCode = 2;

// The verb of the program's own elevated step, which removes a per-machine entry.
inline constexpr std::string_view kRemoveMachineEntryVerb = "/remove-machine-entry";

enum class CommandKind { kMenu, kRemoveMachineEntry, kUsageError };

// A per-machine entry, named by its view and its key's name, to be removed with its copy
// written under copy_name in the per-machine store.
struct MachineEntryRequest {
  EntryView view = EntryView::kMachineDefault;
  std::string key_name;
  std::string copy_name;
  bool operator==(const MachineEntryRequest&) const = default;
};

struct Command {
  CommandKind kind = CommandKind::kMenu;
  MachineEntryRequest machine_entry = {};
  std::string error = {};  // kUsageError: what was wrong, for the user
};

Command ParseCommand(const std::vector<std::string>& arguments);

// The arguments of the elevated step for the request: the verb, "HKLM", "32" or "64", the key's
// name as hexadecimal UTF-16 units (four digits each, so that no character of it can change how
// the command line is read), and the copy's name.
std::vector<std::string> MachineEntryArguments(const MachineEntryRequest& request);

}  // namespace app
