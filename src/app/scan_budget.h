#pragma once

// How many threads read the uninstall keys at once, and into how many ranges each key is split
// among them. A header of its own, without dependencies, so that the yardstick the start-up is
// timed against runs on the very same budget.

#include <algorithm>
#include <cstddef>

namespace app {

struct ScanBudget {
  unsigned threads = 1;          // in flight at once, the calling thread included
  unsigned ranges_per_pass = 1;  // at most; a small key gets fewer
};

// Twice the hardware threads, from kMinScanThreads to kMaxScanThreads: a registry read mostly
// waits for its round trip.
inline constexpr unsigned kMinScanThreads = 2;
inline constexpr unsigned kMaxScanThreads = 8;
constexpr unsigned ScanThreads(unsigned hardware_threads) {
  return std::clamp(2 * hardware_threads, kMinScanThreads, kMaxScanThreads);
}

// One range per hardware thread, from kMinRangesPerPass to kMaxRangesPerPass.
inline constexpr unsigned kMinRangesPerPass = 2;
inline constexpr unsigned kMaxRangesPerPass = 8;
constexpr ScanBudget ScanBudgetFor(unsigned hardware_threads) {
  return ScanBudget{ScanThreads(hardware_threads),
                    std::clamp(hardware_threads, kMinRangesPerPass, kMaxRangesPerPass)};
}

// How many ranges a key of that many subkeys is split into: as many as the budget allows, but
// none smaller than kMinRangeSize subkeys.
inline constexpr std::size_t kMinRangeSize = 32;
constexpr std::size_t RangesPerPass(std::size_t subkeys, const ScanBudget& budget) {
  const std::size_t fitting = std::max<std::size_t>(1, subkeys / kMinRangeSize);
  return std::min<std::size_t>(budget.ranges_per_pass, fitting);
}

}  // namespace app
