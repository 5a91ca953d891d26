#include "app/leftovers/evidence_record.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <functional>
#include <set>

#include "app/leftovers/line_text.h"
#include "app/listing/entry_id.h"

namespace app {
namespace {

constexpr char kSeparator = '=';

struct Fact {
  std::string_view name;
  std::string EvidenceRecord::*field;
};
constexpr std::array<Fact, 7> kTextFacts = {{
    {"entry", &EvidenceRecord::entry_id},
    {"name", &EvidenceRecord::name},
    {"publisher", &EvidenceRecord::publisher},
    {"version", &EvidenceRecord::version},
    {"install_location", &EvidenceRecord::install_location},
    {"uninstaller_folder", &EvidenceRecord::uninstaller_folder},
    {"icon_folder", &EvidenceRecord::icon_folder},
}};
constexpr std::string_view kTimeFact = "time";

std::string TimeText(const platform::LocalTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year % 10000, t.month % 100,
                t.day % 100, t.hour % 100, t.minute % 100, t.second % 100);
  return text;
}

bool ReadNumber(std::string_view text, int& number) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && end == text.data() + text.size();
}

// "yyyy-mm-dd hh:mm:ss", each field in its range.
std::optional<platform::LocalTime> ReadTime(std::string_view text) {
  constexpr std::size_t kLength = 19;
  if (text.size() != kLength || text[4] != '-' || text[7] != '-' || text[10] != ' ' ||
      text[13] != ':' || text[16] != ':') {
    return std::nullopt;
  }
  platform::LocalTime t;
  const bool read =
      ReadNumber(text.substr(0, 4), t.year) && ReadNumber(text.substr(5, 2), t.month) &&
      ReadNumber(text.substr(8, 2), t.day) && ReadNumber(text.substr(11, 2), t.hour) &&
      ReadNumber(text.substr(14, 2), t.minute) && ReadNumber(text.substr(17, 2), t.second);
  constexpr int kLastMonth = 12, kLastDay = 31, kLastHour = 23, kLastMinute = 59, kLastSecond = 60;
  if (!read || t.month < 1 || t.month > kLastMonth || t.day < 1 || t.day > kLastDay ||
      t.hour > kLastHour || t.minute > kLastMinute || t.second > kLastSecond) {
    return std::nullopt;
  }
  return t;
}

// Reads one "fact=value" line into the record; false when the line is not one.
bool ReadLine(std::string_view line, EvidenceRecord& record, std::set<std::string_view>& seen) {
  const std::size_t separator = line.find(kSeparator);
  if (separator == std::string_view::npos) return false;
  const std::string_view name = line.substr(0, separator);
  const std::optional<std::string> value = UnescapedLineText(line.substr(separator + 1));
  if (!value) return false;
  if (!seen.insert(name).second) return false;
  if (name == kTimeFact) {
    const auto time = ReadTime(*value);
    if (!time) return false;
    record.time = *time;
    return true;
  }
  for (const Fact& fact : kTextFacts) {
    if (name == fact.name) record.*fact.field = *value;
  }
  return true;
}

}  // namespace

std::string RecordText(const EvidenceRecord& record) {
  std::string text(kRecordFirstLine);
  text += '\n';
  for (const Fact& fact : kTextFacts) {
    text += std::string(fact.name) + kSeparator + EscapedLineText(record.*fact.field) + '\n';
  }
  text += std::string(kTimeFact) + kSeparator + TimeText(record.time) + '\n';
  return text;
}

std::optional<EvidenceRecord> ReadRecordText(std::string_view text) {
  if (text.size() > kMostRecordBytes) return std::nullopt;
  if (!text.starts_with(kRecordFirstLine) || text.substr(kRecordFirstLine.size(), 1) != "\n") {
    return std::nullopt;
  }
  text.remove_prefix(kRecordFirstLine.size() + 1);
  EvidenceRecord record;
  std::set<std::string_view> seen;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;  // cut short
    if (!ReadLine(text.substr(0, end), record, seen)) return std::nullopt;
    text.remove_prefix(end + 1);
  }
  if (!seen.contains(kTimeFact) || !ParseEntryId(record.entry_id)) return std::nullopt;
  return record;
}

}  // namespace app
