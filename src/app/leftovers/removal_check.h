#pragma once

// Before anything of a removal set moves, each checked item is held against what the finder
// offers now, run again over the system as it is: every rule applies afresh, and an item that
// changed since the review is skipped and named, never removed.

#include <cstdint>
#include <string_view>
#include <vector>

#include "app/leftovers/leftover_item.h"

namespace app {

enum class ItemNow : std::uint8_t {
  kAsFound,  // offered now exactly as it was: it may be removed
  kChanged,  // offered now, but not as it was (a folder's size)
  kGone,     // not offered now: removed meanwhile, or a rule now keeps it
};

ItemNow CheckAgain(const LeftoverItem& checked, const std::vector<LeftoverItem>& offered_now);

// The words for an item skipped for it, as the box names it.
std::string_view SkippedBecause(ItemNow now);

}  // namespace app
