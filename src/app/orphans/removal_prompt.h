#pragma once

// The boxes around the removal of an entry whose uninstaller is gone: the question, and what
// came of the answer.

#include <cstdint>
#include <string>

#include "app/entry/program_entry.h"
#include "app/orphans/entry_removal.h"
#include "platform/platform.h"

namespace app {

struct RemovalMessage {
  std::string text;
  std::uint32_t style = 0;
};

// The box that tells what a removal came to.
RemovalMessage RemovalResultMessage(const std::string& display_name, const Removal& removal);

// Asks the question whether to take the entry off the list (No is the default); on Yes removes
// it with its copy kept, and tells what happened. The caller holds the auto-close.
void OfferEntryRemoval(platform::Platform& system, const ProgramEntry& program,
                       const std::string& question);

}  // namespace app
