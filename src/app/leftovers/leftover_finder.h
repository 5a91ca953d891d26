#pragma once

// What an uninstall left behind, found from the record kept before it started: only what the
// evidence ties to the removed program, never what another program or the user may own.

#include <vector>

#include "app/leftovers/evidence_record.h"
#include "app/leftovers/leftover_item.h"
#include "app/leftovers/listed_evidence.h"
#include "platform/platform.h"

namespace app {

// Run on a worker: it reads every entry listed now, and looks through the registry's references.
// A record of a per-machine entry lives where the user could change it: nothing it names is
// certain, only the references to files that are gone now.
std::vector<LeftoverItem> FindLeftovers(platform::Platform& platform, const EvidenceRecord& record,
                                        const ListedEvidence& listed);

// The same, with every entry listed now read first.
std::vector<LeftoverItem> FindLeftovers(platform::Platform& platform, const EvidenceRecord& record);

}  // namespace app
