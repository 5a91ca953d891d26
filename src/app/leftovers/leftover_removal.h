#pragma once

// The checked leftovers of one record taken away, each into the store its owner may use: the
// user's items by this instance, into the user's store; the machine's by the program's own
// elevated step, into a store that only administrators can change.

#include <string>
#include <vector>

#include "app/leftovers/kept_records.h"
#include "app/leftovers/removal_set.h"
#include "platform/platform.h"

namespace app {

// "<local app data>\Quillon\Tapwise Uninstaller\Removed items"; empty without a folder.
std::string UserItemsStore(platform::FileStore& files);
// "<ProgramData>\Quillon\Tapwise Uninstaller\Removed items"; empty without a folder.
std::string MachineItemsStore(platform::FileStore& files);

// Whether the elevated step takes the item. A record lies where the user's programs could have
// changed it, so the step takes only what needs no trust in it: a certain reference, or
// shortcut, to a file that is gone.
bool TakenByMachineStep(platform::Platform& platform, const LeftoverItem& item);

struct LeftoverRemoval {
  std::vector<SetItemOutcome> items;  // each checked item
  std::vector<std::string> sets;      // the folders of the sets made
};

// Run on a worker. offered_now: what the finder offers for the record, found just before.
LeftoverRemoval RemoveLeftovers(platform::Platform& platform, const KeptRecord& kept,
                                const std::vector<LeftoverItem>& checked,
                                const std::vector<LeftoverItem>& offered_now);

// In the elevated instance: the machine's items into a new set in the machine's store, which is
// made safe first.
LeftoverRemoval RemoveMachineLeftoversHere(platform::Platform& platform, const KeptRecord& kept,
                                           const std::vector<LeftoverItem>& checked,
                                           const std::vector<LeftoverItem>& offered_now);

}  // namespace app
