#include "app/script/script_leftovers.h"

#include "app/leftovers/kept_records.h"
#include "app/leftovers/leftover_finder.h"
#include "app/leftovers/protected_system.h"
#include "app/leftovers/record_keeping.h"
#include "app/listing/list_json.h"
#include "app/script/script_exit.h"
#include "app/script/script_output.h"

namespace app {
namespace {

std::string RootName(const LeftoverItem& item) {
  if (item.kind == LeftoverKind::kFolder || item.kind == LeftoverKind::kShortcut) return {};
  if (item.root == platform::kHkeyCurrentUser) return "HKCU\\";
  return item.view_access == platform::kKeyWow64_64Key ? "HKLM64\\" : "HKLM32\\";
}

void AppendField(std::string& out, std::string_view name, std::string_view value) {
  out += ",\"";
  out += name;
  out += "\":";
  AppendJsonString(out, value);
}

void AppendItem(std::string& out, const LeftoverItem& item) {
  out += "{\"kind\":";
  AppendJsonString(out, KindName(item.kind));
  AppendField(out, "place", RootName(item) + item.place);
  if (!item.value_name.empty()) AppendField(out, "value", item.value_name);
  if (item.kind == LeftoverKind::kFolder) out += ",\"size\":" + std::to_string(item.size);
  out += std::string(",\"certain\":") + (item.certain ? "true" : "false");
  AppendField(out, "reason", item.reason);
  out += "}";
}

void AppendRecord(std::string& out, const KeptRecord& kept,
                  const std::vector<LeftoverItem>& items) {
  out += "  {\"id\":";
  AppendJsonString(out, kept.record.entry_id);
  AppendField(out, "name", kept.record.name);
  AppendField(out, "record", kept.folder);
  out += ",\"items\":[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    out += i == 0 ? "\n    " : ",\n    ";
    AppendItem(out, items[i]);
  }
  out += "]}";
}

}  // namespace

// Records past keeping are retired on the way; so is one with nothing left to offer.
int RunLeftovers(platform::Platform& platform) {
  const std::vector<KeptRecord> records = ReadKeptRecords(platform.file_store);
  // Every entry is read only when there is a record to hold them against.
  const ListedEvidence listed = records.empty() ? ListedEvidence{} : ReadListedEvidence(platform);
  const platform::LocalTime now = platform.file_store.Now();
  std::string out = "[";
  bool first = true;
  for (const KeptRecord& kept : records) {
    const EvidenceRecord& record = kept.record;
    const bool entry_listed = IsEntryListed(platform.registry, record);
    if (FateOf(record, entry_listed, now, listed.names, listed.folders, NamesOf(platform, record),
               FoldersOf(platform, record)) == RecordFate::kRetire) {
      RetireRecord(platform.file_store, kept);
      continue;
    }
    if (entry_listed) continue;
    const std::vector<LeftoverItem> items = FindLeftovers(platform, record, listed);
    if (items.empty()) {
      RetireRecord(platform.file_store, kept);
      continue;
    }
    out += first ? "\n" : ",\n";
    first = false;
    AppendRecord(out, kept, items);
  }
  out += first ? "]\n" : "\n]\n";
  const std::optional<std::string> failed = WriteList(platform, {}, out);
  if (!failed) return static_cast<int>(ScriptExit::kDone);
  WriteErrorLine(platform.streams, *failed);
  return static_cast<int>(ScriptExit::kListNotWritten);
}

}  // namespace app
