#pragma once

// A registry item of a removal set taken away: its exact copy written and verified first, as a
// .reg file that puts back only what was taken, then the delete. A key goes key by key through
// handles to each, so that a link goes alone and nothing it leads to is touched; a value goes
// alone, and the rest of its key stays.

#include <string>

#include "app/leftovers/leftover_item.h"
#include "app/leftovers/removal_manifest.h"
#include "platform/platform.h"

namespace app {

struct ItemRemoval {
  bool removed = false;
  std::string copy_path = {};  // the verified copy, when one was written
  std::string reason = {};     // why not, when it was not removed
};

// copy_path: a new file for the copy, in the set's own folder.
ItemRemoval RemoveRegistryItem(platform::Platform& platform, const LeftoverItem& item,
                               const std::string& copy_path, const CompletedStep& completed);

}  // namespace app
