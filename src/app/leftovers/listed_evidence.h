#pragma once

// What the entries in the registry now say of themselves, every one of them, hidden ones
// included: a folder or name that one of them names is still a program's.

#include <string>
#include <vector>

#include "app/leftovers/evidence_record.h"
#include "platform/platform.h"

namespace app {

struct ListedEvidence {
  std::vector<EvidenceRecord> entries;
  // Each entry's key, by its path below its root ("Software\...\Uninstall\<name>").
  std::vector<std::string> keys;
  // The whole names and the folders every entry names, as the finder compares them: told once
  // for all the records held against them.
  std::vector<std::string> names;
  std::vector<std::string> folders;
};

// Read on a worker: every entry of every view, as a record of it would be kept now.
ListedEvidence ReadListedEvidence(platform::Platform& platform);

}  // namespace app
