#pragma once

// What the program is asked to do by its command line. Without arguments it shows its menu, as
// it always has; every other use is one action with its arguments, and anything else is a
// usage error that names what was wrong.
//
//   /list [/all] [FILE]          the programs as JSON
//   /list:csv [/all] [FILE]      the same as CSV
//   /uninstall ID [/quiet]       one program's uninstaller, by the id the list gives it
//   /leftovers                   what the uninstalls it started left behind, as JSON
//   /leftovers /remove RECORD    the items it is certain of, of one record, into the stores
//
// Switches are read in any letter case and any order; the id is taken exactly.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/listing/entry_id.h"
#include "app/paths/entry_view.h"

namespace app {

// What a usage error ends the program with.
inline constexpr int kUsageExitCode = 2;

// The verb of the program's own elevated step, which removes a per-machine entry.
inline constexpr std::string_view kRemoveMachineEntryVerb = "/remove-machine-entry";

// The verb of the elevated step that takes a record's per-machine leftovers.
inline constexpr std::string_view kRemoveMachineLeftoversVerb = "/remove-machine-leftovers";

// The verb of the elevated instance that reviews a record's per-machine leftovers in a window.
inline constexpr std::string_view kReviewMachineLeftoversVerb = "/review-machine-leftovers";

enum class CommandKind {
  kMenu,
  kReviewMachineLeftovers,
  kRemoveMachineEntry,
  kRemoveMachineLeftovers,
  kList,
  kUninstall,
  kLeftovers,
  kRemoveLeftovers,
  kUsageError
};

// A record's per-machine leftovers, to be taken into a new set of that name in the per-machine
// store.
struct MachineLeftoversRequest {
  std::string record_folder;
  std::string set_name;
  bool operator==(const MachineLeftoversRequest&) const = default;
};

// A per-machine entry, named by its view and its key's name, to be removed with its copy
// written under copy_name in the per-machine store, when it still is as the user was asked
// about it (its KeyDigest).
struct MachineEntryRequest {
  EntryView view = EntryView::kMachineDefault;
  std::string key_name;
  std::string copy_name;
  std::uint64_t asked = 0;
  bool operator==(const MachineEntryRequest&) const = default;
};

enum class ListFormat { kJson, kCsv };

struct ListRequest {
  ListFormat format = ListFormat::kJson;
  bool all = false;  // what Windows' own list hides, too
  std::string file;  // empty: standard output
};

struct UninstallRequest {
  std::string id;  // as given
  EntryId entry;
  bool quiet = false;
};

struct Command {
  CommandKind kind = CommandKind::kMenu;
  MachineEntryRequest machine_entry = {};
  ListRequest list = {};
  UninstallRequest uninstall = {};
  // kRemoveLeftovers, kReviewMachineLeftovers: the record's folder, as /leftovers names it
  std::string record = {};
  MachineLeftoversRequest machine_leftovers = {};
  std::string error = {};  // kUsageError: what was wrong, for the user
};

Command ParseCommand(const std::vector<std::string>& arguments);

// The actions for scripts (script_switches.cpp).
Command ParseScriptCommand(const std::vector<std::string>& arguments);

// The arguments of the elevated step for the request: the verb, "HKLM", "32" or "64", the key's
// name as hexadecimal UTF-16 units (four digits each, so that no character of it can change how
// the command line is read), and the copy's name.
std::vector<std::string> MachineEntryArguments(const MachineEntryRequest& request);

// The arguments of the elevated step that takes a record's per-machine leftovers: the verb, the
// record's folder and the set's name.
std::vector<std::string> MachineLeftoversArguments(const MachineLeftoversRequest& request);

}  // namespace app
