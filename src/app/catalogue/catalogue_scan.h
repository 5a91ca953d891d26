#pragma once

// The reading half of the catalogue: uninstall entries read into plain data, on worker threads
// where the platform has them. It is given only the seams a worker may use, so nothing here can
// touch a window, a form or a menu.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/catalogue/entry_rules.h"
#include "app/catalogue/scan_budget.h"
#include "app/entry/options.h"
#include "app/entry/program_entry.h"
#include "app/paths/registered_path.h"
#include "platform/platform.h"

namespace app {

enum class RegistryView { kDefault, k64Bit };
enum class UninstallRoot { kMachine, kUser };

// The seams a scan uses, each safe from any thread: its jobs read the registry and file dates.
// Never windowing.
struct ScanSeams {
  ScanSeams(platform::RawRegistry& raw, platform::FileDates& dates, RemoteDrives& remote)
      : registry(raw), files(dates), drives(remote) {}
  // The whole platform narrowed to the seams a scan may use.
  ScanSeams(const platform::Platform& all, RemoteDrives& remote)
      : ScanSeams(all.registry, all.files, remote) {}

  platform::RawRegistry& registry;
  platform::FileDates& files;
  RemoteDrives& drives;  // the run's one drive cache
};

// One uninstall key: a root in one registry view.
struct ScanPass {
  RegistryView view = RegistryView::kDefault;
  UninstallRoot root = UninstallRoot::kMachine;
};

// Where an entry's install date was found.
enum class DateFrom { kInstallDateValue, kFileDate };

// What the command-line list tells of an entry beyond the menu's needs (Options::list_details).
struct EntryDetails {
  std::optional<std::string> version;    // "DisplayVersion" when it is text
  std::optional<std::string> publisher;  // "Publisher" when it is text
  std::optional<std::uint32_t> size_kb;  // "EstimatedSize" when it is a REG_DWORD
  QuietFacts quiet;
};

// What one entry yields: its program and, when one was found, its install date (yyyymmdd).
struct ScannedProgram {
  ProgramEntry program;
  std::optional<std::string> date;
  // Not a program: a per-user key set aside by a removal that did not finish (entry_key.h).
  bool set_aside = false;
  DateFrom date_from = DateFrom::kInstallDateValue;
  std::optional<EntryDetails> details = {};  // read only when the options ask for them
};

// Subkeys [first, last) of one pass's uninstall key: what one job reads.
struct ScanRange {
  ScanPass pass;
  std::uint32_t first = 0;
  std::uint32_t last = 0;
};

// Every pass split into ranges of its subkeys, as the budget splits them (scan_budget.h), in
// pass order, then subkey order. Asks each key how many subkeys it has.
std::vector<ScanRange> PlanRanges(platform::RawRegistry& registry,
                                  const std::vector<ScanPass>& passes, const ScanBudget& budget);

// The positions of the ranges, largest first; equal ones in their order. Handed to the threads
// in this order, the passes share the threads by what each has left to read, and a small
// pass's range does not hold the end up alone.
std::vector<std::size_t> LargestFirst(const std::vector<ScanRange>& ranges);

// Reads one range with keys of its own. An entry that cannot be read costs that entry alone.
std::vector<ScannedProgram> ReadRange(ScanSeams seams, const ScanRange& range,
                                      const Options& options);

// The program of one entry's key, read as the scan reads it with every kind of entry listed;
// nothing when the key lists no program (it has no name) or cannot be read.
std::optional<ProgramEntry> ReadEntryProgram(ScanSeams seams, EntryView view,
                                             const std::string& key_name);

// Every pass read on the calling thread, in pass order, then subkey order: what the ranges
// give together.
std::vector<ScannedProgram> ScanPasses(ScanSeams seams, const std::vector<ScanPass>& passes,
                                       const Options& options);

}  // namespace app
