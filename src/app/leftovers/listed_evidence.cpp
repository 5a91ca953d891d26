#include "app/leftovers/listed_evidence.h"

#include "app/entry/entry_key.h"
#include "app/entry/entry_values.h"
#include "app/launch/launch_plan.h"
#include "app/leftovers/evidence_store.h"
#include "app/leftovers/protected_system.h"
#include "app/paths/file_names.h"
#include "app/paths/registered_command.h"
#include "app/paths/registered_path.h"
#include "platform/file_dates.h"
#include "platform/registry.h"

namespace app {
namespace {

// More entries than any machine has: a registry that lists more is read no further.
constexpr std::uint32_t kMostEntries = 100000;

std::vector<std::string> EntryNames(platform::RawRegistry& registry, EntryView view) {
  const EntryKeyPlace place = UninstallKeyPlace(view);
  platform::TRegistry reader(registry, platform::kKeyRead | place.view_access);
  reader.SelectRoot(place.root);
  std::vector<std::string> names;
  if (!reader.OpenPath(place.path, platform::IfMissing::kFail)) return names;
  std::string name;
  for (std::uint32_t i = 0; i < kMostEntries && reader.ReadSubkeyName(i, name); ++i) {
    names.push_back(name);
  }
  return names;
}

// The uninstaller the entry names, there or not: a folder it names is the program's either way,
// and no file is looked for.
LaunchPlan NamedUninstaller(const ProgramEntry& program, const PathSystem& system) {
  const EntryPaths paths(system, program.view);
  const CommandProgram named = FindCommandProgram(
      paths, program.command, [](const std::string&) { return platform::kFileFound; });
  LaunchPlan plan;
  if (named.kind != CommandProgram::Kind::kFound) return plan;
  plan.kind = LaunchKind::kStart;
  plan.program = named.reached;
  plan.directory = FolderOf(named.named);
  return plan;
}

// The entry as a record of it would be kept now, its key opened once.
EvidenceRecord EntryRecord(platform::Platform& platform, const PathSystem& paths, EntryView view,
                           const std::string& key_name) {
  ProgramEntry program;
  program.view = view;
  program.key_name = key_name;
  EntryKey key(platform.registry, program);
  if (!key.IsOpen()) return RecordFromValues(platform, program, LaunchPlan{}, nullptr);
  try {
    program.name = key.Values().ReadTextIfText(kDisplayNameValue).value_or("");
    program.command = key.Values().ReadTextIfText(kUninstallStringValue).value_or("");
  } catch (const platform::ERegistryException&) {
    // A value that cannot be read names nothing.
  }
  return RecordFromValues(platform, program, NamedUninstaller(program, paths), &key.Values());
}

}  // namespace

ListedEvidence ReadListedEvidence(platform::Platform& platform) {
  ListedEvidence listed;
  std::vector<EntryView> views = {EntryView::kUser, EntryView::kMachineDefault};
  if (platform.registry.HasSeparate64BitView()) views.push_back(EntryView::kMachine64);
  const PathSystem paths = PathSystemOf(platform);
  for (const EntryView view : views) {
    for (const std::string& key_name : EntryNames(platform.registry, view)) {
      listed.entries.push_back(EntryRecord(platform, paths, view, key_name));
      listed.keys.push_back(KeyPlaceOf(view, key_name).path);
    }
  }
  for (const EvidenceRecord& entry : listed.entries) {
    for (std::string& name : NamesOf(platform, entry)) listed.names.push_back(std::move(name));
    for (std::string& folder : FoldersOf(platform, entry)) {
      listed.folders.push_back(std::move(folder));
    }
  }
  return listed;
}

}  // namespace app
