#include "app/leftovers/kept_records.h"

#include <algorithm>

#include "app/entry/entry_key.h"
#include "app/leftovers/evidence_store.h"
#include "app/leftovers/leftover_paths.h"
#include "app/listing/entry_id.h"

namespace app {
namespace {

// More records than years of uninstalls leave: past them the rest are not read.
constexpr std::size_t kMostRecords = 10000;

}  // namespace

std::vector<KeptRecord> ReadKeptRecords(platform::FileStore& files) {
  std::vector<KeptRecord> kept;
  const std::string records = RecordsFolder(files.LocalAppDataFolder());
  if (records.empty()) return kept;
  std::vector<platform::FolderItem> folders;
  files.ListFolder(records, kMostRecords, folders);
  // Named by their time: by name is by age.
  std::sort(folders.begin(), folders.end(),
            [](const auto& a, const auto& b) { return a.name < b.name; });
  for (const platform::FolderItem& item : folders) {
    if (item.kind != platform::PathKind::kFolder) continue;
    if (auto record = ReadKeptRecord(files, platform::InDirectory(records, item.name))) {
      kept.push_back(std::move(*record));
    }
  }
  return kept;
}

std::optional<KeptRecord> ReadKeptRecord(platform::FileStore& files, const std::string& folder) {
  std::vector<std::uint8_t> bytes;
  if (files.ReadWholeFile(platform::InDirectory(folder, kRecordFileName), kMostRecordBytes,
                          bytes) != platform::kFileOk) {
    return std::nullopt;
  }
  auto record =
      ReadRecordText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  if (!record) return std::nullopt;
  return KeptRecord{folder, std::move(*record)};
}

bool IsEntryListed(platform::RawRegistry& registry, const EvidenceRecord& record) {
  const std::optional<EntryId> id = ParseEntryId(record.entry_id);
  if (!id) return false;
  ProgramEntry program;
  program.view = id->view;
  program.key_name = id->key_name;
  return EntryKey(registry, program).IsOpen();
}

std::optional<KeptRecord> ReadNamedRecord(platform::FileStore& files, const std::string& folder) {
  const auto normal = NormalPath(folder);
  if (!normal || *normal != folder) return std::nullopt;
  return ReadKeptRecord(files, folder);
}

std::vector<KeptRecord> RecordsOfGoneEntries(platform::Platform& platform) {
  std::vector<KeptRecord> gone = ReadKeptRecords(platform.file_store);
  std::erase_if(
      gone, [&](const KeptRecord& kept) { return IsEntryListed(platform.registry, kept.record); });
  return gone;
}

}  // namespace app
