#include "app/leftovers/evidence_record.h"

#include <array>
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

// Reads one "fact=value" line into the record; false when the line is not one.
bool ReadLine(std::string_view line, EvidenceRecord& record, std::set<std::string_view>& seen) {
  const std::size_t separator = line.find(kSeparator);
  if (separator == std::string_view::npos) return false;
  const std::string_view name = line.substr(0, separator);
  const std::optional<std::string> value = UnescapedLineText(line.substr(separator + 1));
  if (!value) return false;
  if (!seen.insert(name).second) return false;
  if (name == kTimeFact) {
    const auto time = ReadTimeText(*value);
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
