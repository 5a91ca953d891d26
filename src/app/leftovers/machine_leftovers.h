#pragma once

// A record's per-machine leftovers are taken by a second instance of this program, started
// with administrator rights. It trusts nothing it is given: it reads the record itself, runs
// the finder again, and takes only what TakenByMachineStep allows, into a new set of the name
// it was given in the per-machine store. The instance that asked reads the outcome from the
// set's manifest.

#include <string>
#include <vector>

#include "app/command_line/command_line.h"
#include "app/leftovers/kept_records.h"
#include "app/leftovers/removal_set.h"
#include "app/orphans/machine_removal.h"
#include "platform/platform.h"

namespace app {

// The elevated step.
StepExit RunMachineLeftoversRemoval(platform::Platform& platform,
                                    const MachineLeftoversRequest& request);

// The waiting side: the items' outcomes, and the set's folder when one was made.
std::vector<SetItemOutcome> RemoveThroughMachineStep(platform::Platform& platform,
                                                     const KeptRecord& kept,
                                                     const std::vector<LeftoverItem>& items,
                                                     std::string& set_folder);

}  // namespace app
