#pragma once

// What the review of a record's leftovers shows, and what its end says: one row per item,
// sorted by kind, with what, kind, where, size and why; a checkbox only where this instance
// may remove the item, checked only where the finder is certain.

#include <cstdint>
#include <string>
#include <vector>

#include "app/leftovers/kept_records.h"
#include "app/leftovers/leftover_item.h"
#include "app/leftovers/leftover_removal.h"
#include "platform/platform.h"

namespace app {

// What a review is about: the record, and the items the finder offered, sorted by kind.
struct LeftoverReview {
  KeptRecord kept;
  std::vector<LeftoverItem> items;
  // The elevated instance's review of the machine's items; otherwise the user's own.
  bool machine = false;
};

LeftoverReview ReviewOf(KeptRecord kept, std::vector<LeftoverItem> items, bool machine);

struct ReviewRow {
  std::vector<std::string> cells;  // what, kind, where, size, why
  platform::RowCheck check = platform::RowCheck::kNone;
};

// Whether this review may remove the item: the user's review takes the user's items, the
// elevated one the machine's.
bool RemovableInReview(platform::Platform& platform, const LeftoverReview& review,
                       const LeftoverItem& item);
ReviewRow RowOf(const LeftoverItem& item, bool removable);

// "12.4 MB", "980 KB", "512 bytes".
std::string SizeText(std::uint64_t bytes);

// One text for the end of a removal: how many were removed and where they can be restored from,
// then each item that was not, with its reason.
std::string RemovalSummary(const LeftoverRemoval& removal);

// The question after a quiet uninstall that left items behind.
std::string LeftBehindQuestion(const std::string& result, const std::string& name,
                               std::size_t items);

}  // namespace app
