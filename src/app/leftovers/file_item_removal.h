#pragma once

// A file or folder of a removal set taken into the store whole. On the store's volume it is
// renamed there, which keeps everything it holds; on another it is copied, compared with what
// was taken, and only then deleted. Its inventory is taken again where it arrived: an item that
// is not what was taken is put back, never half kept.

#include <cstdint>
#include <string>

#include "app/leftovers/item_inventory.h"
#include "app/leftovers/registry_item_removal.h"
#include "app/leftovers/removal_manifest.h"
#include "platform/platform.h"

namespace app {

// What is copied to another drive at most: larger items are left where they are.
inline constexpr std::uint64_t kMostCopiedBytes = 1ull << 30;

// before: the item's inventory, taken when the set was planned; stored: its place in the set's
// folder, which must not exist yet.
ItemRemoval RemoveFileItem(platform::Platform& platform, const std::string& place,
                           const std::string& stored, const Inventory& before,
                           const CompletedStep& completed);

}  // namespace app
