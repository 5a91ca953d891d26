#include "app/listing/listed_fields.h"

namespace app {
namespace {

constexpr std::uint32_t kBits32 = 32;
constexpr std::uint32_t kBits64 = 64;

FieldValue TextOrNone(const std::optional<std::string>& text) {
  if (!text) return std::monostate{};
  return *text;
}

FieldValue Installed(const ListedProgram& program) {
  if (!program.installed) return std::monostate{};
  return DayText(*program.installed);
}

FieldValue InstalledFrom(const ListedProgram& program) {
  if (!program.installed) return std::monostate{};
  const bool from_value = program.installed->source == DateSource::kInstallDateValue;
  return std::string(from_value ? "InstallDate" : "file");
}

FieldValue Scope(const ListedProgram& program) {
  return std::string(program.view == EntryView::kUser ? "user" : "machine");
}

FieldValue View(const ListedProgram& program) {
  switch (program.view) {
    case EntryView::kMachineDefault:
      return kBits32;
    case EntryView::kMachine64:
      return kBits64;
    case EntryView::kUser:
      break;
  }
  return std::monostate{};
}

FieldValue SizeKb(const ListedProgram& program) {
  if (!program.size_kb) return std::monostate{};
  return *program.size_kb;
}

constexpr std::array<ListedField, kListedFieldCount> kFields = {{
    {"id", [](const ListedProgram& p) -> FieldValue { return p.id; }},
    {"name", [](const ListedProgram& p) -> FieldValue { return p.name; }},
    {"version", [](const ListedProgram& p) { return TextOrNone(p.version); }},
    {"publisher", [](const ListedProgram& p) { return TextOrNone(p.publisher); }},
    {"installed", Installed},
    {"installed_from", InstalledFrom},
    {"scope", Scope},
    {"view", View},
    {"size_kb", SizeKb},
    {"quiet", [](const ListedProgram& p) -> FieldValue { return p.quiet; }},
    {"orphaned", [](const ListedProgram& p) -> FieldValue { return p.orphaned; }},
}};

}  // namespace

const std::array<ListedField, kListedFieldCount>& ListedFields() {
  return kFields;
}

}  // namespace app
