#pragma once

// The checked items of one record, removed as one set into a store: each held against the
// finder's answer now, then taken with its exact copy kept in the set's own folder, beside a
// manifest that is flushed to the disk before anything moves and after every step.

#include <optional>
#include <string>
#include <vector>

#include "app/leftovers/leftover_item.h"
#include "app/leftovers/removal_manifest.h"
#include "platform/platform.h"

namespace app {

inline constexpr std::string_view kManifestFileName = "manifest.txt";

struct SetItemOutcome {
  LeftoverItem item;
  bool removed = false;
  std::string stored = {};  // where it, or its copy, is kept
  std::string reason = {};  // why it was not removed
};

struct SetOutcome {
  std::string folder = {};   // the set's folder; empty when none was made
  std::string failure = {};  // why nothing was tried
  std::vector<SetItemOutcome> items = {};
};

// folder: the set's own folder, new and empty. record_name: the name of the record's folder.
// offered_now: what the finder offers for the record now.
SetOutcome RemoveSet(platform::Platform& platform, const std::string& folder,
                     const std::string& record_name, const std::vector<LeftoverItem>& checked,
                     const std::vector<LeftoverItem>& offered_now);

// The manifest of the set in that folder, when it reads.
std::optional<RemovalManifest> ReadSetManifest(platform::FileStore& files,
                                               const std::string& set_folder);

// Each item not taken, for the one reason.
inline std::vector<SetItemOutcome> NoneTaken(const std::vector<LeftoverItem>& items,
                                             const std::string& reason) {
  std::vector<SetItemOutcome> outcomes;
  for (const LeftoverItem& item : items) outcomes.push_back({.item = item, .reason = reason});
  return outcomes;
}

// Whether only an administrator may take the item: the machine's registry, or a file under a
// program files folder or the one programs keep data in for everyone.
bool IsMachineItem(platform::Platform& platform, const LeftoverItem& item);

}  // namespace app
