#include "app/leftovers/listed_evidence.h"

#include "app/entry/entry_key.h"
#include "app/entry/entry_values.h"
#include "app/launch/launch_plan.h"
#include "app/leftovers/evidence_store.h"
#include "app/paths/registered_path.h"
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

ProgramEntry EntryOf(platform::RawRegistry& registry, EntryView view, const std::string& key_name) {
  ProgramEntry program;
  program.view = view;
  program.key_name = key_name;
  EntryKey key(registry, program);
  if (!key.IsOpen()) return program;
  try {
    program.name = key.Values().ReadTextIfText(kDisplayNameValue).value_or("");
    program.command = key.Values().ReadTextIfText(kUninstallStringValue).value_or("");
  } catch (const platform::ERegistryException&) {
    // A value that cannot be read names nothing.
  }
  return program;
}

}  // namespace

ListedEvidence ReadListedEvidence(platform::Platform& platform) {
  ListedEvidence listed;
  std::vector<EntryView> views = {EntryView::kUser, EntryView::kMachineDefault};
  if (platform.registry.HasSeparate64BitView()) views.push_back(EntryView::kMachine64);
  const PathSystem paths = PathSystemOf(platform);
  for (const EntryView view : views) {
    for (const std::string& key_name : EntryNames(platform.registry, view)) {
      const ProgramEntry program = EntryOf(platform.registry, view, key_name);
      listed.entries.push_back(RecordOf(platform, program, PlanUninstall(program, paths)));
      listed.keys.push_back(KeyPlaceOf(view, key_name).path);
    }
  }
  return listed;
}

}  // namespace app
