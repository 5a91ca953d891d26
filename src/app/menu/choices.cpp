#include "app/menu/choices.h"

#include "app/entry/uninstall_command.h"
#include "app/launch/installer_entry.h"
#include "app/launch/last_command.h"
#include "app/launch/launch_notice.h"
#include "app/launch/launch_plan.h"
#include "app/launch/launch_start.h"
#include "app/leftovers/evidence_store.h"
#include "app/orphans/entry_removal.h"
#include "app/orphans/removal_prompt.h"
#include "app/processes/processes.h"
#include "app/quiet/quiet_command.h"
#include "app/quiet/quiet_run.h"
#include "app/texts/texts.h"

namespace app {
namespace {

constexpr std::string_view kOpenVerb = "open";
constexpr std::uint32_t kQuietQuestionStyle =
    platform::kMbYesNo | platform::kMbIconWarning | platform::kMbDefButton2;

Box Notice(std::string text) {
  return Box{std::move(text), platform::kMbIconInformation};
}

ActionWork RemovalAction(platform::Platform& system, const ProgramEntry& program,
                         std::optional<std::uint64_t> asked) {
  return [&system, program, asked](std::stop_token) {
    const Removal removal = RemoveEntry(
        program, RemovalSystem{system.registry, system.file_store, system.launcher}, asked);
    const RemovalMessage message = RemovalResultMessage(program.name, removal);
    return Verdict{Box{message.text, message.style}};
  };
}

// The entry is read before the question, which names what its copy cannot give back; the
// removal takes it only as it was then.
Verdict OfferRemoval(platform::Platform& system, const ProgramEntry& program,
                     const std::string& question) {
  const std::optional<AskedEntry> entry = ReadAskedEntry(system.registry, program);
  const RemovalMessage asked = RemovalQuestion(question + (entry ? entry->inexact_note : ""));
  const std::optional<std::uint64_t> digest =
      entry ? std::optional<std::uint64_t>(entry->digest) : std::nullopt;
  return Verdict{Box{asked.text, asked.style}, RemovalAction(system, program, digest)};
}

// How the chosen program's uninstall went: nothing to say, a notice, or the offer to take an
// orphaned entry off the list.
Verdict JudgeLaunch(platform::Platform& system, const ProgramEntry& program, const LaunchPlan& plan,
                    bool product_unknown, platform::StartError start) {
  switch (NoticeFor(plan.kind, product_unknown, start)) {
    case LaunchNotice::kNone:
      return Verdict{};
    case LaunchNotice::kCannotUninstall:
      return Verdict{Notice(std::string(kCannotUninstallText)),
                     PageAction(system.launcher, kToolsPage, true)};
    case LaunchNotice::kOfferRemoval:
      return OfferRemoval(system, program,
                          product_unknown
                              ? UnknownProductQuestion(program.name, InstallerEntryCode(program))
                              : OrphanedEntryQuestion(program.name, plan.looked_for));
    case LaunchNotice::kMissingUninstaller:
      return Verdict{Notice(MissingUninstallerText(program.name, plan.looked_for))};
    case LaunchNotice::kStartFailed:
      return Verdict{Notice(
          FailedUninstallerText(program.name, system.launcher.ErrorText(start, plan.program)))};
  }
  return Verdict{};
}

}  // namespace

ActionWork UninstallAction(platform::Platform& system, const ProgramEntry& program) {
  const LaunchPlan plan = PlanUninstall(program, PathSystemOf(system));
  return [&system, program, plan](std::stop_token) {
    if (plan.kind == LaunchKind::kStart) KeepEvidence(system, program, plan);
    const UninstallerLaunch launch = LaunchUninstaller(system.launcher, program, plan);
    // "Last" names only an uninstaller that was started: the next start asks after it.
    if (launch.asked && launch.start == platform::kStartOk) {
      RecordLastCommand(system.registry, UninstallCommand(program));
    }
    return JudgeLaunch(system, program, plan, launch.product_unknown, launch.start);
  };
}

std::optional<Verdict> QuietUninstallChoice(platform::Platform& system,
                                            const ProgramEntry& program) {
  const auto plan = PlanQuietUninstall(WithQuietFacts(system.registry, program),
                                       PathSystemOf(system), system.launcher.Elevated());
  if (!plan) return std::nullopt;
  ActionWork run = [&system, program, plan = *plan](std::stop_token stop) {
    std::string record_folder;
    const QuietResult result = RunQuietUninstall(system, program, plan, stop, record_folder);
    Box box{result.text, result.icon};
    if (result.kind != QuietCase::kRemoved || record_folder.empty()) return Verdict{box};
    return LeftBehindVerdict(system, std::move(box), program.name, record_folder);
  };
  return Verdict{Box{QuietConfirmText(program.name), kQuietQuestionStyle}, std::move(run)};
}

std::optional<ActionWork> KillAction(platform::Launcher& launcher,
                                     const std::string& process_name) {
  auto start = KillStart(process_name, launcher.SystemDirectory());
  if (!start) return std::nullopt;
  return [&launcher, start = *start](std::stop_token) {
    // A refused or declined start changes nothing in the program.
    launcher.Start(start);
    return Verdict{.end = false};
  };
}

ActionWork PageAction(platform::Launcher& launcher, std::string_view path, bool end) {
  return [&launcher, address = WebAddress(path), end](std::stop_token) {
    // Whether a browser opened it is not the program's to know; it goes on as if it had.
    launcher.Start(platform::StartSpec{
        .program = address,
        .verb = std::string(kOpenVerb),
        .shell_mask = platform::kSeeMaskNoAsync,
    });
    return Verdict{.end = end};
  };
}

}  // namespace app
