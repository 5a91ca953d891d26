#include "app/orphans/machine_removal.h"

#include <array>
#include <utility>

#include "app/catalogue/catalogue_scan.h"
#include "app/command_line/arguments.h"
#include "app/copies/copy_file_name.h"
#include "app/copies/key_copy.h"
#include "app/launch/orphaned_entry.h"
#include "app/orphans/machine_store.h"
#include "app/paths/file_names.h"
#include "app/security/write_access.h"
#include "app/texts/texts.h"

namespace app {
namespace {

// How long the elevated step may take once it has the rights: a removal takes well under a
// second, but a large entry on a slow disk may take more.
constexpr std::uint32_t kStepWaitMs = 60000;

constexpr std::array<std::pair<RemovalOutcome, StepExit>, 11> kOutcomeExits{{
    {RemovalOutcome::kRemoved, StepExit::kRemoved},
    {RemovalOutcome::kNotRemoved, StepExit::kNotRemoved},
    {RemovalOutcome::kPartlyRemoved, StepExit::kPartlyRemoved},
    {RemovalOutcome::kNotKnown, StepExit::kNotKnown},
    {RemovalOutcome::kNotRead, StepExit::kNotRead},
    {RemovalOutcome::kNotCopied, StepExit::kNotCopied},
    {RemovalOutcome::kHoldsLink, StepExit::kHoldsLink},
    {RemovalOutcome::kTooLarge, StepExit::kTooLarge},
    {RemovalOutcome::kLeftAside, StepExit::kLeftAside},
    {RemovalOutcome::kRewritten, StepExit::kRewritten},
    {RemovalOutcome::kChanged, StepExit::kChanged},
}};

StepExit ExitOf(RemovalOutcome outcome) {
  for (const auto& [known, exit] : kOutcomeExits) {
    if (known == outcome) return exit;
  }
  return StepExit::kNotKnown;
}

// The first copy name in the store that no file has yet.
std::string FreeCopyPath(platform::FileStore& files, const std::string& store,
                         const std::string& display_name) {
  const platform::LocalTime now = files.Now();
  for (int number = 1; number <= kMaxCopyNumber; ++number) {
    std::string path = CopyFilePath(store, display_name, now, number);
    if (path.empty()) return {};
    if (files.KindOf(path) == platform::PathKind::kMissing) return path;
  }
  return {};
}

Removal Outcome(RemovalOutcome outcome, std::string reason = {}) {
  return Removal{.outcome = outcome, .reason = std::move(reason)};
}

// What the step's exit code says; a copy it kept is read back by the name it was given.
Removal RemovalOfExit(std::uint32_t code, const std::string& copy_path,
                      const RemovalSystem& system) {
  switch (static_cast<StepExit>(code)) {
    case StepExit::kNoSuchEntry:
      return Outcome(RemovalOutcome::kStepRefused, std::string(kNoSuchEntryReason));
    case StepExit::kNotOrphaned:
      return Outcome(RemovalOutcome::kNotOrphaned);
    case StepExit::kStoreRefused:
      return Outcome(RemovalOutcome::kStepRefused, std::string(kStoreRefusedReason));
    case StepExit::kCopyNameRefused:
      return Outcome(RemovalOutcome::kStepRefused, std::string(kCopyNameRefusedReason));
    default:
      break;
  }
  for (const auto& [outcome, exit] : kOutcomeExits) {
    if (static_cast<std::uint32_t>(exit) != code) continue;
    Removal removal = Outcome(outcome);
    // A step that kept no copy deleted the one it made.
    if (system.files.KindOf(copy_path) == platform::PathKind::kFile) {
      removal.copy_path = copy_path;
    } else if (outcome == RemovalOutcome::kRemoved) {
      removal.outcome = RemovalOutcome::kNotKnown;
    }
    return removal;
  }
  return Outcome(RemovalOutcome::kNotKnown, std::string(kStepFailedReason));
}

Removal RefusedRead(platform::RegResult read) {
  if (read == kRegHoldsLink) return Outcome(RemovalOutcome::kHoldsLink);
  if (read == kRegCopyTooLarge) return Outcome(RemovalOutcome::kTooLarge);
  return Outcome(RemovalOutcome::kNotRead);
}

}  // namespace

StepExit RunMachineEntryRemoval(platform::Platform& platform, const MachineEntryRequest& request) {
  if (request.view == EntryView::kUser) return StepExit::kNoSuchEntry;
  if (request.view == EntryView::kMachine64 && !platform.registry.HasSeparate64BitView()) {
    return StepExit::kNoSuchEntry;
  }
  if (!IsPlainCopyName(request.copy_name)) return StepExit::kCopyNameRefused;
  // The key itself first: a link is refused before the check below could read through it.
  CopiedKey before;
  const platform::RegResult read =
      ReadEntryCopy(platform.registry, request.view, request.key_name, before);
  if (read == kRegHoldsLink) return StepExit::kHoldsLink;
  if (read == platform::kRegNotFound) return StepExit::kNoSuchEntry;
  RemoteDrives drives(platform.files);
  const auto program =
      ReadEntryProgram(ScanSeams(platform, drives), request.view, request.key_name);
  if (!program) return StepExit::kNoSuchEntry;
  if (!IsOrphaned(PathSystemOf(platform), *program)) return StepExit::kNotOrphaned;
  const std::string store =
      PrepareMachineStore(platform.file_store, platform.launcher.OwnAccount());
  if (store.empty()) return StepExit::kStoreRefused;
  const std::string copy_path = store + "\\" + request.copy_name;
  if (!FitsMaxPath(copy_path)) return StepExit::kCopyNameRefused;
  const RemovalSystem system{platform.registry, platform.file_store, platform.launcher};
  return ExitOf(RemoveEntryHere(*program, system, copy_path, request.asked).outcome);
}

Removal RemoveThroughElevatedStep(const ProgramEntry& program, const RemovalSystem& system,
                                  std::optional<std::uint64_t> asked) {
  if (program.key_name.empty()) return Outcome(RemovalOutcome::kNotRead);
  // Without a question, the entry as it is now, read as the user can read it; what refuses a
  // copy of it refuses the step too, before anyone is asked for rights.
  if (!asked) {
    CopiedKey now;
    const platform::RegResult read =
        ReadEntryCopy(system.registry, program.view, program.key_name, now);
    if (read != platform::kRegOk) return RefusedRead(read);
    asked = KeyDigest(now);
  }
  const std::string own_file = system.launcher.OwnProgramFile();
  if (!RunsFromAdministratorsFolder(system.files, own_file)) {
    return Outcome(RemovalOutcome::kFromUserFolder);
  }
  const std::string store = MachineStoreFolder(system.files);
  const std::string copy_path =
      store.empty() ? std::string{} : FreeCopyPath(system.files, store, program.name);
  if (copy_path.empty()) return Outcome(RemovalOutcome::kNotCopied);
  const MachineEntryRequest request{program.view, program.key_name,
                                    copy_path.substr(copy_path.find_last_of('\\') + 1), *asked};
  platform::Started started = system.launcher.Start(platform::StartSpec{
      .program = own_file,
      .parameters = JoinedArguments(MachineEntryArguments(request)),
      .show = platform::kSwHideWindow,
      .elevation = platform::Elevation::kAlways,
      .follow = platform::Follow::kProcess,
  });
  if (started.Error() == platform::kErrorCancelled) {
    return Outcome(RemovalOutcome::kNotRemoved, std::string(kDeclinedReason));
  }
  if (started.Error() != platform::kStartOk) {
    return Outcome(RemovalOutcome::kNotRemoved,
                   system.launcher.ErrorText(started.Error(), own_file));
  }
  const platform::RunOutcome run = started.Wait(kStepWaitMs);
  if (run.end != platform::RunEnd::kEnded) {
    return Removal{.outcome = RemovalOutcome::kNotKnown, .copy_path = copy_path};
  }
  return RemovalOfExit(run.exit_code, copy_path, system);
}

}  // namespace app
