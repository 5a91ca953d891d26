#include "app/leftovers/record_keeping.h"

#include <algorithm>

#include "app/leftovers/evidence_store.h"
#include "app/leftovers/leftover_paths.h"
#include "platform/text.h"

namespace app {
namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long DayNumber(int year, int month, int day) {
  constexpr int kMonthsAYear = 12;
  constexpr long kDaysAnEra = 146097;
  constexpr int kYearsAnEra = 400;
  constexpr long kEpochShift = 719468;
  year -= month <= 2 ? 1 : 0;
  const long era = (year >= 0 ? year : year - (kYearsAnEra - 1)) / kYearsAnEra;
  const long year_of_era = year - era * kYearsAnEra;
  const long day_of_year = (153 * (month + (month > 2 ? -3 : kMonthsAYear - 3)) + 2) / 5 + day - 1;
  const long day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * kDaysAnEra + day_of_era - kEpochShift;
}

bool AnyShared(const std::vector<std::string>& ours, const std::vector<std::string>& theirs,
               bool (*same)(std::string_view, std::string_view)) {
  return std::any_of(ours.begin(), ours.end(), [&](const std::string& mine) {
    return std::any_of(theirs.begin(), theirs.end(),
                       [&](const std::string& other) { return same(mine, other); });
  });
}

bool SameName(std::string_view a, std::string_view b) {
  return text::EqualsIgnoringAsciiCase(a, b);
}

}  // namespace

int DaysBetween(const platform::LocalTime& a, const platform::LocalTime& b) {
  return static_cast<int>(DayNumber(b.year, b.month, b.day) - DayNumber(a.year, a.month, a.day));
}

RecordFate FateOf(const EvidenceRecord& record, bool listed, const platform::LocalTime& now,
                  const std::vector<std::string>& listed_names,
                  const std::vector<std::string>& listed_folders,
                  const std::vector<std::string>& record_names,
                  const std::vector<std::string>& record_folders) {
  const int age = DaysBetween(record.time, now);
  if (listed) return age >= kDaysAListedEntryIsKept ? RecordFate::kRetire : RecordFate::kKeep;
  if (age >= kDaysAGoneEntryIsKept) return RecordFate::kRetire;
  if (AnyShared(record_names, listed_names, SameName) ||
      AnyShared(record_folders, listed_folders, SamePath)) {
    return RecordFate::kRetire;
  }
  return RecordFate::kKeep;
}

bool RetireRecord(platform::FileStore& files, const KeptRecord& kept) {
  for (const std::string_view name : {kRecordCopyName, kRecordFileName}) {
    files.RemoveFile(platform::InDirectory(kept.folder, name));
  }
  return files.RemoveEmptyFolder(kept.folder) == platform::kFileOk;
}

}  // namespace app
