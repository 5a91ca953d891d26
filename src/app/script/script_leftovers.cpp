#include "app/script/script_leftovers.h"

#include <array>

#include "app/leftovers/kept_records.h"
#include "app/leftovers/leftover_finder.h"
#include "app/listing/list_json.h"
#include "app/script/script_exit.h"
#include "app/script/script_output.h"

namespace app {
namespace {

constexpr std::array<std::string_view, 7> kKindNames = {
    "run value", "app path", "command", "file type", "shortcut", "folder", "key"};

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
  AppendJsonString(out, kKindNames[static_cast<std::size_t>(item.kind)]);
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

int RunLeftovers(platform::Platform& platform) {
  std::string out = "[";
  bool first = true;
  for (const KeptRecord& kept : ReadKeptRecords(platform.file_store)) {
    if (IsEntryListed(platform.registry, kept.record)) continue;
    out += first ? "\n" : ",\n";
    first = false;
    AppendRecord(out, kept, FindLeftovers(platform, kept.record));
  }
  out += first ? "]\n" : "\n]\n";
  const std::optional<std::string> failed = WriteList(platform, {}, out);
  if (!failed) return static_cast<int>(ScriptExit::kDone);
  WriteErrorLine(platform.streams, *failed);
  return static_cast<int>(ScriptExit::kListNotWritten);
}

}  // namespace app
