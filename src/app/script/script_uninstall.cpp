#include "app/script/script_uninstall.h"

#include <optional>

#include "app/catalogue/catalogue_scan.h"
#include "app/entry/entry_key.h"
#include "app/launch/installer_entry.h"
#include "app/launch/launch_notice.h"
#include "app/launch/launch_start.h"
#include "app/leftovers/evidence_store.h"
#include "app/paths/registered_command.h"
#include "app/quiet/quiet_command.h"
#include "app/quiet/quiet_run.h"
#include "app/script/script_exit.h"
#include "app/script/script_output.h"
#include "app/texts/script_texts.h"

namespace app {
namespace {

int Ended(platform::Platform& platform, ScriptExit exit, const std::string& said = {}) {
  if (!said.empty()) WriteErrorLine(platform.streams, said);
  return static_cast<int>(exit);
}

// The entry the id names, read as the scan reads it; none for a key that lists no program, one
// set aside by a removal, or a 64-bit view that this system does not have.
std::optional<ProgramEntry> FindEntry(platform::Platform& platform, const EntryId& entry) {
  if (entry.view == EntryView::kUser && IsSetAsideName(entry.key_name)) return std::nullopt;
  if (entry.view == EntryView::kMachine64 && !platform.registry.HasSeparate64BitView()) {
    return std::nullopt;
  }
  RemoteDrives drives(platform.files);
  return ReadEntryProgram(ScanSeams(platform, drives), entry.view, entry.key_name);
}

int QuietEnd(platform::Platform& platform, const ProgramEntry& program, const LaunchPlan& plan,
             const QuietRun& run) {
  const std::string& name = program.name;
  // Its own code: a script that runs as a standard user learns that it must not.
  if (run.start == platform::kErrorElevationRequired) {
    return Ended(platform, ScriptExit::kNeedsAdministrator, NeedsAdministratorText(name));
  }
  switch (QuietCaseOf(run.start, run.run, run.listed)) {
    case QuietCase::kRemoved:
      if (!AsksForRestart(run.run)) return Ended(platform, ScriptExit::kDone);
      return Ended(platform, ScriptExit::kRestartNeeded, RestartNeededText(name));
    case QuietCase::kStillListed:
    case QuietCase::kListedAfterSuccess:
      return Ended(platform, ScriptExit::kStillListed, StillListedText(name, run.run.exit_code));
    case QuietCase::kNotFollowed:
      return Ended(platform, ScriptExit::kStillListed, NotFollowedText(name));
    case QuietCase::kStillRunning:
      return Ended(platform, ScriptExit::kStillRunning, StillRunningText(name));
    case QuietCase::kDeclined:
      return Ended(platform, ScriptExit::kNeedsAdministrator, RightsDeclinedText(name));
    case QuietCase::kStartFailed:
      break;
  }
  const std::string reason = platform.launcher.ErrorText(run.start, plan.program);
  return Ended(platform, ScriptExit::kUninstallerMissing, CannotStartText(name, reason));
}

// Shift's rules without its question; administrator rights are never asked for: nobody may be
// there to give them.
int UninstallQuietly(platform::Platform& platform, const ProgramEntry& listed) {
  const ProgramEntry program = WithQuietFacts(platform.registry, listed);
  const bool elevated = platform.launcher.Elevated();
  if (IsBlankCommand(QuietCommand(program, elevated))) {
    return Ended(platform, ScriptExit::kNoQuietCommand, NoQuietCommandText(program.name));
  }
  const std::optional<LaunchPlan> plan =
      PlanQuietUninstall(program, PathSystemOf(platform), elevated);
  if (!plan) {
    return Ended(platform, ScriptExit::kUninstallerMissing,
                 UninstallerMissingText(program.name, QuietCommand(program, elevated)));
  }
  const QuietRun run =
      FollowQuietUninstall(platform, program, *plan, platform::Elevation::kNever, {});
  return QuietEnd(platform, program, *plan, run);
}

// As choosing it in the menu: the uninstaller started, and its end not waited for.
int StartUninstaller(platform::Platform& platform, const ProgramEntry& program) {
  const LaunchPlan plan = PlanUninstall(program, PathSystemOf(platform));
  if (plan.kind == LaunchKind::kStart) KeepEvidence(platform, program, plan);
  const UninstallerLaunch launch = LaunchUninstaller(platform.launcher, program, plan);
  const std::string& name = program.name;
  if (launch.start == platform::kErrorCancelled) {
    return Ended(platform, ScriptExit::kNeedsAdministrator, RightsDeclinedText(name));
  }
  switch (NoticeFor(plan.kind, launch.product_unknown, launch.start)) {
    case LaunchNotice::kNone:
      return Ended(platform, ScriptExit::kDone);
    case LaunchNotice::kCannotUninstall:
      return Ended(platform, ScriptExit::kUninstallerMissing, NoUninstallerText(name));
    case LaunchNotice::kOfferRemoval:
      if (launch.product_unknown) {
        return Ended(platform, ScriptExit::kUninstallerMissing,
                     UnknownProductText(name, InstallerEntryCode(program)));
      }
      [[fallthrough]];
    case LaunchNotice::kMissingUninstaller:
      return Ended(platform, ScriptExit::kUninstallerMissing,
                   UninstallerMissingText(name, plan.looked_for));
    case LaunchNotice::kStartFailed:
      break;
  }
  const std::string reason = platform.launcher.ErrorText(launch.start, plan.program);
  return Ended(platform, ScriptExit::kUninstallerMissing, CannotStartText(name, reason));
}

}  // namespace

int RunUninstall(platform::Platform& platform, const UninstallRequest& request) {
  const std::optional<ProgramEntry> program = FindEntry(platform, request.entry);
  if (!program) return Ended(platform, ScriptExit::kNoSuchId, NoSuchIdText(request.id));
  if (request.quiet) return UninstallQuietly(platform, *program);
  return StartUninstaller(platform, *program);
}

}  // namespace app
