#include "app/leftovers/machine_leftovers.h"

#include <algorithm>

#include "app/command_line/arguments.h"
#include "app/copies/copy_file_name.h"
#include "app/leftovers/leftover_finder.h"
#include "app/leftovers/leftover_removal.h"
#include "app/leftovers/removal_manifest.h"
#include "app/orphans/machine_store.h"
#include "app/paths/file_names.h"

namespace app {
namespace {

// Moving a folder takes a moment; copying one to another drive, up to its bound, takes longer.
constexpr std::uint32_t kStepWaitMs = 10 * 60 * 1000;
constexpr std::size_t kMostSetNameLength = 40;

// A name TimeInFileName gives: digits, "-", " " and a number in brackets, nothing that could
// lead out of the store.
bool IsSetName(std::string_view name) {
  return !name.empty() && name.size() <= kMostSetNameLength &&
         name.find_first_not_of("0123456789- ()") == std::string_view::npos;
}

std::string ReasonOfExit(std::uint32_t code) {
  switch (static_cast<StepExit>(code)) {
    case StepExit::kStoreRefused:
      return "the store of removed items for everyone could not be made safe";
    case StepExit::kRecordRefused:
      return "the administrator could not read the record";
    case StepExit::kSetRefused:
      return "the administrator's step refused the set's name";
    default:
      return "the administrator's step failed with code " + std::to_string(code);
  }
}

// The outcome of one item as the set's manifest tells it.
SetItemOutcome OutcomeOf(const LeftoverItem& item, const RemovalManifest& manifest) {
  SetItemOutcome outcome{.item = item, .reason = "the administrator's step did not take it"};
  const std::string place = ItemPlace(item);
  for (std::size_t index = 0; index < manifest.items.size(); ++index) {
    const ManifestItem& taken = manifest.items[index];
    if (taken.original != place || taken.value != item.value_name) continue;
    bool moved = false, verified = false, deleted = false;
    outcome.reason.clear();
    for (const ManifestStepLine& step : manifest.steps) {
      if (step.item != index) continue;
      moved |= step.step == ManifestStep::kMoved;
      verified |= step.step == ManifestStep::kVerified;
      deleted |= step.step == ManifestStep::kDeleted;
      if (step.step == ManifestStep::kSkipped) outcome.reason = step.detail;
    }
    outcome.removed = outcome.reason.empty() && (deleted || (moved && verified));
    if (outcome.removed) outcome.stored = taken.stored;
    if (!outcome.removed && outcome.reason.empty()) outcome.reason = "it was left part way";
    return outcome;
  }
  return outcome;
}

}  // namespace

StepExit RunMachineLeftoversRemoval(platform::Platform& platform,
                                    const MachineLeftoversRequest& request) {
  if (!IsSetName(request.set_name)) return StepExit::kSetRefused;
  const std::optional<KeptRecord> kept =
      ReadNamedRecord(platform.file_store, request.record_folder);
  if (!kept) return StepExit::kRecordRefused;
  platform::FileStore& files = platform.file_store;
  const std::string store = MachineItemsStore(files);
  if (store.empty() || !PrepareSecuredStore(files, store, platform.launcher.OwnAccount())) {
    return StepExit::kStoreRefused;
  }
  const std::string folder = platform::InDirectory(store, request.set_name);
  if (files.KindOf(folder) != platform::PathKind::kMissing) return StepExit::kSetRefused;
  if (files.CreateFolders(folder) != platform::kFileOk) return StepExit::kStoreRefused;
  const std::vector<LeftoverItem> offered = FindLeftovers(platform, kept->record);
  std::vector<LeftoverItem> taken;
  std::copy_if(offered.begin(), offered.end(), std::back_inserter(taken),
               [&](const LeftoverItem& item) { return TakenByMachineStep(platform, item); });
  const SetOutcome set =
      RemoveSet(platform, folder, std::string(FileNameOf(kept->folder)), taken, offered);
  return set.failure.empty() ? StepExit::kRemoved : StepExit::kStoreRefused;
}

std::vector<SetItemOutcome> RemoveThroughMachineStep(platform::Platform& platform,
                                                     const KeptRecord& kept,
                                                     const std::vector<LeftoverItem>& items,
                                                     std::string& set_folder) {
  platform::FileStore& files = platform.file_store;
  platform::Launcher& launcher = platform.launcher;
  const std::string own_file = launcher.OwnProgramFile();
  if (!RunsFromAdministratorsFolder(files, own_file)) {
    return NoneTaken(items, "this copy of the program lies where users may change it");
  }
  const std::string store = MachineItemsStore(files);
  const std::string set_name =
      store.empty() ? std::string{} : FreeTimedName(files, store, files.Now());
  if (set_name.empty()) return NoneTaken(items, "the store of removed items could not be named");
  platform::Started started = launcher.Start(platform::StartSpec{
      .program = own_file,
      .parameters = JoinedArguments(MachineLeftoversArguments({kept.folder, set_name})),
      .show = platform::kSwHideWindow,
      .elevation = platform::Elevation::kAlways,
      .follow = platform::Follow::kProcess,
  });
  if (started.Error() == platform::kErrorCancelled) {
    return NoneTaken(items, "administrator rights were declined");
  }
  if (started.Error() != platform::kStartOk) {
    return NoneTaken(items, launcher.ErrorText(started.Error(), own_file));
  }
  const platform::RunOutcome run = started.Wait(kStepWaitMs);
  if (run.end != platform::RunEnd::kEnded) {
    return NoneTaken(items, "the administrator's step was still running when the wait ended");
  }
  if (run.exit_code != static_cast<std::uint32_t>(StepExit::kRemoved)) {
    return NoneTaken(items, ReasonOfExit(run.exit_code));
  }
  set_folder = platform::InDirectory(store, set_name);
  const std::optional<RemovalManifest> manifest = ReadSetManifest(files, set_folder);
  if (!manifest) return NoneTaken(items, "the administrator's step left no manifest that reads");
  std::vector<SetItemOutcome> outcomes;
  for (const LeftoverItem& item : items) outcomes.push_back(OutcomeOf(item, *manifest));
  return outcomes;
}

}  // namespace app
