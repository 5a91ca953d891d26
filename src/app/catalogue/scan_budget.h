#pragma once

// How many threads read the uninstall keys at once, and into how many ranges each key is split
// among them. A header of its own, without dependencies, so that the yardstick the start-up is
// timed against runs on the very same budget.
//
// Eight reads in flight, whatever the machine. Under Wine each read is a round trip to one
// single-threaded server: a thread waiting for its answer takes no processor, and with eight
// asking, the server always has the next request queued and the processors never fall asleep
// between answers. Timed with 1, 2, 4, 6 and 8 threads at 300 to 5000 entries a view, quiet and
// busy, eight was the fastest or within a few percent of it everywhere, and up to twice as fast
// as two a hardware thread. On Windows a read is a system call that runs on the calling thread
// and scales with the processors, and the undated entries wait on the disk for their files'
// dates: a few threads more than processors hide those waits, and eight at most keep the threads'
// making, some tens of microseconds each, out of the figures on any machine.

#include <algorithm>
#include <cstddef>

namespace app {

struct ScanBudget {
  unsigned threads = 1;          // in flight at once, the calling thread included
  unsigned ranges_per_pass = 1;  // at most; a small key gets fewer
};

inline constexpr ScanBudget kScanBudget{8, 8};

// How many ranges a key of that many subkeys is split into: as many as the budget allows, but
// none smaller than kMinRangeSize subkeys. The ranges are handed out largest first, so that the
// threads share the keys by what each has left to read.
inline constexpr std::size_t kMinRangeSize = 32;
constexpr std::size_t RangesPerPass(std::size_t subkeys, const ScanBudget& budget) {
  const std::size_t fitting = std::max<std::size_t>(1, subkeys / kMinRangeSize);
  return std::min<std::size_t>(budget.ranges_per_pass, fitting);
}

}  // namespace app
