#pragma once

// The records kept before uninstalls, read back from their folders.

#include <optional>
#include <string>
#include <vector>

#include "app/leftovers/evidence_record.h"
#include "platform/platform.h"

namespace app {

struct KeptRecord {
  std::string folder;  // the record's own folder
  EvidenceRecord record;
};

// Every record that reads, oldest first; a folder without a whole record is passed over.
std::vector<KeptRecord> ReadKeptRecords(platform::FileStore& files);

// The record in that folder, when it reads whole.
std::optional<KeptRecord> ReadKeptRecord(platform::FileStore& files, const std::string& folder);

// The record in a folder named on a command line: only a plain local path, spelled as
// NormalPath spells it, so that nothing in the name can lead elsewhere.
std::optional<KeptRecord> ReadNamedRecord(platform::FileStore& files, const std::string& folder);

// The records whose entry is gone: one key lookup each. Safe from any thread.
std::vector<KeptRecord> RecordsOfGoneEntries(platform::Platform& platform);

// Whether the entry the record was kept for is in the registry now.
bool IsEntryListed(platform::RawRegistry& registry, const EvidenceRecord& record);

}  // namespace app
