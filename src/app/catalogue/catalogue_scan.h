#pragma once

// The reading half of the catalogue: uninstall entries read into plain data, on worker threads
// where the platform has them. It is given only the seams a worker may use, so nothing here can
// touch a window, a form or a menu.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/catalogue/scan_budget.h"
#include "app/entry/options.h"
#include "app/entry/program_entry.h"
#include "app/paths/registered_path.h"
#include "platform/platform.h"

namespace app {

enum class RegistryView { kDefault, k64Bit };
enum class UninstallRoot { kMachine, kUser };

// The seams a scan uses, each safe from any thread: its jobs read the registry and file dates,
// and the workers run them. Never windowing.
struct ScanSeams {
  ScanSeams(platform::RawRegistry& raw, platform::FileDates& dates, platform::Workers& run,
            RemoteDrives& remote)
      : registry(raw), files(dates), workers(run), drives(remote) {}
  // The whole platform narrowed to the seams a scan may use.
  ScanSeams(const platform::Platform& all, RemoteDrives& remote)
      : ScanSeams(all.registry, all.files, all.workers, remote) {}

  platform::RawRegistry& registry;
  platform::FileDates& files;
  platform::Workers& workers;
  RemoteDrives& drives;  // the run's one drive cache
};

// One uninstall key: a root in one registry view.
struct ScanPass {
  RegistryView view = RegistryView::kDefault;
  UninstallRoot root = UninstallRoot::kMachine;
};

// What one entry yields: its program and, when one was found, its install date (yyyymmdd).
struct ScannedProgram {
  ProgramEntry program;
  std::optional<std::string> date;
  // Not a program: a per-user key set aside by a removal that did not finish (entry_key.h).
  bool set_aside = false;
};

// Reads every pass, each split into ranges of its subkeys that run as jobs of their own, and
// returns what they found in pass order, then subkey order: exactly what reading the passes
// one after another gives. An entry that cannot be read costs that entry alone. All the
// passes' jobs share the budget's threads; without one, the program's (scan_budget.h).
std::vector<ScannedProgram> ScanPasses(ScanSeams seams, const std::vector<ScanPass>& passes,
                                       const Options& options);
std::vector<ScannedProgram> ScanPasses(ScanSeams seams, const std::vector<ScanPass>& passes,
                                       const Options& options, const ScanBudget& budget);

}  // namespace app
