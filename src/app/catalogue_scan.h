#pragma once

// The reading half of the catalogue: uninstall entries read into plain data, on worker threads
// where the platform has them. Nothing here touches a window, a form or a menu.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/program_entry.h"
#include "platform/platform.h"

namespace app {

enum class RegistryView { kDefault, k64Bit };
enum class UninstallRoot { kMachine, kUser };

// One uninstall key: a root in one registry view.
struct ScanPass {
  RegistryView view = RegistryView::kDefault;
  UninstallRoot root = UninstallRoot::kMachine;
};

// What one entry yields: its program and, when one was found, its install date (yyyymmdd).
struct ScannedProgram {
  ProgramEntry program;
  std::optional<std::string> date;
};

// Reads every pass, each split into ranges of its subkeys that run as jobs of their own, and
// returns what they found in pass order, then subkey order: exactly what reading the passes
// one after another gives. An entry that cannot be read costs that entry alone.
std::vector<ScannedProgram> ScanPasses(platform::Platform& platform,
                                       const std::vector<ScanPass>& passes, const Options& options);

// How many ranges a pass over that many subkeys is split into: one per hardware thread, at
// least two and at most kMaxRangesPerPass, but none smaller than kMinRangeSize subkeys.
inline constexpr unsigned kMinRangesPerPass = 2;
inline constexpr unsigned kMaxRangesPerPass = 8;
inline constexpr std::size_t kMinRangeSize = 32;
std::size_t RangesPerPass(std::size_t subkeys, unsigned hardware_threads);

}  // namespace app
