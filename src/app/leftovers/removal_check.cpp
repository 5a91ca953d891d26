#include "app/leftovers/removal_check.h"

#include "app/leftovers/leftover_paths.h"

namespace app {

ItemNow CheckAgain(const LeftoverItem& checked, const std::vector<LeftoverItem>& offered_now) {
  for (const LeftoverItem& now : offered_now) {
    const bool same_place = now.kind == checked.kind && now.root == checked.root &&
                            now.view_access == checked.view_access &&
                            SamePath(now.place, checked.place) &&
                            now.value_name == checked.value_name;
    if (!same_place) continue;
    return now.size == checked.size ? ItemNow::kAsFound : ItemNow::kChanged;
  }
  return ItemNow::kGone;
}

std::string_view SkippedBecause(ItemNow now) {
  switch (now) {
    case ItemNow::kAsFound:
      return {};
    case ItemNow::kChanged:
      return "it changed after it was found";
    case ItemNow::kGone:
      return "it is gone, or no longer left behind";
  }
  return {};
}

}  // namespace app
