#pragma once

// An invariant a fuzz target checks: broken, it is named and the run ends as a crash, so that
// the fuzzer keeps the input.

#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

}  // namespace fuzz
