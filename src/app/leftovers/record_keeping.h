#pragma once

// How long a record is kept: long enough to be reviewed, and no longer than it can tell the
// truth.

#include "app/leftovers/kept_records.h"
#include "app/leftovers/listed_evidence.h"
#include "platform/platform.h"

namespace app {

// An uninstall that has not removed its entry a day later was cancelled or failed.
inline constexpr int kDaysAListedEntryIsKept = 1;
// What is left behind and never reviewed is let go after a month.
inline constexpr int kDaysAGoneEntryIsKept = 30;

enum class RecordFate { kKeep, kRetire };

// listed: whether the record's entry is in the registry now. now: the local time.
// A gone entry whose names or folders an entry listed now has was probably upgraded, not
// removed: its record is retired too.
RecordFate FateOf(const EvidenceRecord& record, bool listed, const platform::LocalTime& now,
                  const std::vector<std::string>& listed_names,
                  const std::vector<std::string>& listed_folders,
                  const std::vector<std::string>& record_names,
                  const std::vector<std::string>& record_folders);

// Days from a to b, by their dates; negative when b is earlier.
int DaysBetween(const platform::LocalTime& a, const platform::LocalTime& b);

// Deletes the record's folder with what it holds; false when something of it stayed.
bool RetireRecord(platform::FileStore& files, const KeptRecord& kept);

}  // namespace app
