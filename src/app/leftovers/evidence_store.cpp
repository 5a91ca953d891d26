#include "app/leftovers/evidence_store.h"

#include <vector>

#include "app/copies/copy_file_name.h"
#include "app/copies/key_copy.h"
#include "app/copies/reg_file.h"
#include "app/entry/entry_key.h"
#include "app/entry/entry_values.h"
#include "app/icons/icon_source.h"
#include "app/listing/entry_id.h"
#include "app/paths/file_names.h"
#include "app/paths/registered_path.h"
#include "platform/text.h"

namespace app {
namespace {

constexpr std::string_view kRecordsFolder = "Quillon\\Tapwise Uninstaller\\Uninstall records";
constexpr const char* kInstallLocationValue = "InstallLocation";

std::string UninstallerFolder(const LaunchPlan& plan) {
  if (plan.kind != LaunchKind::kStart) return {};
  if (IsSystemRunner(FileNameOf(plan.program))) return {};
  return plan.directory;
}

std::string IconFolder(const std::optional<std::string>& display_icon, const EntryPaths& paths,
                       RemoteDrives& drives) {
  if (!display_icon) return {};
  const auto path = paths.PathToOpen(ParseIconLocation(*display_icon).path, drives);
  return path ? std::string(FolderOf(*path)) : std::string();
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

}  // namespace

std::string RecordsFolder(const std::string& local_app_data) {
  if (local_app_data.empty()) return {};
  return platform::InDirectory(local_app_data, kRecordsFolder);
}

EvidenceRecord RecordOf(platform::Platform& platform, const ProgramEntry& program,
                        const LaunchPlan& plan) {
  EntryKey key(platform.registry, program);
  if (!key.IsOpen()) return RecordFromValues(platform, program, plan, nullptr);
  return RecordFromValues(platform, program, plan, &key.Values());
}

EvidenceRecord RecordFromValues(platform::Platform& platform, const ProgramEntry& program,
                                const LaunchPlan& plan, platform::TRegistry* values) {
  EvidenceRecord record;
  record.entry_id = EncodeEntryId(program.view, program.key_name).value_or("");
  record.name = program.name;
  record.uninstaller_folder = UninstallerFolder(plan);
  if (values == nullptr) return record;
  try {
    record.name = values->ReadTextIfText(kDisplayNameValue).value_or(program.name);
    record.publisher = values->ReadTextIfText(kPublisherValue).value_or("");
    record.version = values->ReadTextIfText(kDisplayVersionValue).value_or("");
    record.install_location = values->ReadTextIfText(kInstallLocationValue).value_or("");
    RemoteDrives drives(platform.files);
    const EntryPaths paths(PathSystemOf(platform), program.view);
    record.icon_folder = IconFolder(values->ReadTextIfText(kDisplayIconValue), paths, drives);
  } catch (const platform::ERegistryException&) {
    // What could not be read is not known: the record keeps what was.
  }
  return record;
}

std::optional<std::string> KeepEvidence(platform::Platform& platform, const ProgramEntry& program,
                                        const LaunchPlan& plan) {
  EvidenceRecord record = RecordOf(platform, program, plan);
  if (record.entry_id.empty()) return std::nullopt;
  CopiedKey entry;
  const EntryKeyPlace place = KeyPlaceOf(program);
  if (ReadKeyCopy(platform.registry, place.root, place.path, platform::kKeyRead | place.view_access,
                  entry) != platform::kRegOk) {
    return std::nullopt;
  }
  entry.name = program.key_name;
  const auto copy = RegFileBytes(
      entry,
      EntryKeyPath(program.view, platform.registry.HasSeparate64BitView(), program.key_name));
  if (!copy) return std::nullopt;
  platform::FileStore& files = platform.file_store;
  record.time = files.Now();
  const std::optional<std::string> folder =
      NewTimedFolder(files, RecordsFolder(files.LocalAppDataFolder()), record.time);
  if (!folder) return std::nullopt;
  const bool kept = files.WriteNewFile(platform::InDirectory(*folder, kRecordCopyName), *copy) ==
                        platform::kFileOk &&
                    files.WriteNewFile(platform::InDirectory(*folder, kRecordFileName),
                                       Bytes(RecordText(record))) == platform::kFileOk;
  if (!kept) return std::nullopt;
  return folder;
}

}  // namespace app
