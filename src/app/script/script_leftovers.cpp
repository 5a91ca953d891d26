#include "app/script/script_leftovers.h"

#include <algorithm>

#include "app/leftovers/kept_records.h"
#include "app/leftovers/leftover_finder.h"
#include "app/leftovers/leftover_paths.h"
#include "app/leftovers/leftover_removal.h"
#include "app/leftovers/protected_system.h"
#include "app/leftovers/record_keeping.h"
#include "app/listing/list_json.h"
#include "app/script/script_exit.h"
#include "app/script/script_output.h"

namespace app {
namespace {

void AppendField(std::string& out, std::string_view name, std::string_view value) {
  out += ",\"";
  out += name;
  out += "\":";
  AppendJsonString(out, value);
}

void AppendItem(std::string& out, const LeftoverItem& item) {
  out += "{\"kind\":";
  AppendJsonString(out, KindName(item.kind));
  AppendField(out, "place", ItemPlace(item));
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

void AppendOutcome(std::string& out, const SetItemOutcome& outcome) {
  out += "{\"kind\":";
  AppendJsonString(out, KindName(outcome.item.kind));
  AppendField(out, "place", ItemPlace(outcome.item));
  if (!outcome.item.value_name.empty()) AppendField(out, "value", outcome.item.value_name);
  out += std::string(",\"removed\":") + (outcome.removed ? "true" : "false");
  if (!outcome.stored.empty()) AppendField(out, "stored", outcome.stored);
  if (!outcome.reason.empty()) AppendField(out, "reason", outcome.reason);
  out += "}";
}

std::string RemovalJson(const KeptRecord& kept, const LeftoverRemoval& removal) {
  std::string out = "{\"record\":";
  AppendJsonString(out, kept.folder);
  out += ",\"sets\":[";
  for (std::size_t i = 0; i < removal.sets.size(); ++i) {
    if (i != 0) out += ",";
    AppendJsonString(out, removal.sets[i]);
  }
  out += "],\"items\":[";
  for (std::size_t i = 0; i < removal.items.size(); ++i) {
    out += i == 0 ? "\n  " : ",\n  ";
    AppendOutcome(out, removal.items[i]);
  }
  out += "]}\n";
  return out;
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

int RunRemoveLeftovers(platform::Platform& platform, const std::string& record_folder) {
  const std::vector<KeptRecord> records = ReadKeptRecords(platform.file_store);
  const auto named = std::find_if(records.begin(), records.end(), [&](const KeptRecord& kept) {
    return SamePath(kept.folder, record_folder) && !IsEntryListed(platform.registry, kept.record);
  });
  if (named == records.end()) {
    WriteErrorLine(platform.streams,
                   "No record of a removed program is kept in \"" + record_folder + "\".");
    return static_cast<int>(ScriptExit::kNoSuchId);
  }
  const std::vector<LeftoverItem> offered = FindLeftovers(platform, named->record);
  std::vector<LeftoverItem> certain;
  std::copy_if(offered.begin(), offered.end(), std::back_inserter(certain),
               [](const LeftoverItem& item) { return item.certain; });
  const LeftoverRemoval removal = RemoveLeftovers(platform, *named, certain, offered);
  if (const auto failed = WriteList(platform, {}, RemovalJson(*named, removal))) {
    WriteErrorLine(platform.streams, *failed);
    return static_cast<int>(ScriptExit::kListNotWritten);
  }
  const bool all = std::all_of(removal.items.begin(), removal.items.end(),
                               [](const SetItemOutcome& outcome) { return outcome.removed; });
  return static_cast<int>(all ? ScriptExit::kDone : ScriptExit::kNotAllRemoved);
}

}  // namespace app
