#pragma once

// A set of removed items put back, as its manifest tells it: each item still in the store goes
// back to its place, never over anything that is there now, and is verified there; a file by
// its hash, a registry item by reading it back. A "restored" step is appended for each, so that
// a restore cut short goes on where it stopped. The set's folder stays as it is.

#include <cstdint>
#include <string>
#include <vector>

#include "app/leftovers/removal_manifest.h"
#include "platform/platform.h"

namespace app {

enum class ItemBack : std::uint8_t {
  kRestored,     // put back now, and verified
  kAlreadyBack,  // in its place already: restored before, or never taken
  kInTheWay,     // something else is in its place now: left in the store
  kFailed,       // it could not be put back: left in the store, or named why not
};

struct RestoredItem {
  ManifestItem item;
  ItemBack back = ItemBack::kFailed;
  std::string reason = {};
};

struct SetRestore {
  std::string failure = {};  // why nothing was tried
  std::vector<RestoredItem> items = {};
};

SetRestore RestoreSet(platform::Platform& platform, const std::string& set_folder);

// Whether every item of the set is in its place again: the set may leave the list.
bool AllBack(const SetRestore& restore);

}  // namespace app
