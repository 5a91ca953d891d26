#include "app/quiet/quiet_outcome.h"

#include "app/texts/texts.h"

namespace app {
namespace {

// What the codes a user can act on mean; empty for the rest.
std::string_view MeaningOf(std::uint32_t exit_code) {
  switch (exit_code) {
    case kExitUserCancelled:
      return kQuietCancelledMeaning;
    case kExitUnknownProduct:
      return kQuietNotInstalledMeaning;
    case kExitInstallRunning:
      return kQuietInstallRunningMeaning;
    default:
      return {};
  }
}

QuietResult Warning(QuietCase kind, std::string text) {
  return QuietResult{kind, std::move(text), platform::kMbIconWarning};
}

}  // namespace

bool AsksForRestart(const platform::RunOutcome& run) {
  return run.end == platform::RunEnd::kEnded &&
         (run.exit_code == kExitRestartRequired || run.exit_code == kExitRestartStarted);
}

QuietCase QuietCaseOf(platform::StartError start, const platform::RunOutcome& run,
                      bool entry_present) {
  if (start == platform::kErrorCancelled) return QuietCase::kDeclined;
  if (start != platform::kStartOk) return QuietCase::kStartFailed;
  // A gone entry is the answer, even when a window of the uninstaller's is still open.
  if (!entry_present) return QuietCase::kRemoved;
  if (run.end == platform::RunEnd::kRunning) return QuietCase::kStillRunning;
  // Its exit code is not known either: no success or failure may be claimed.
  if (run.end == platform::RunEnd::kNotKnown) return QuietCase::kNotFollowed;
  return run.exit_code == 0 ? QuietCase::kListedAfterSuccess : QuietCase::kStillListed;
}

QuietResult QuietOutcome(const std::string& display_name, platform::StartError start,
                         const platform::RunOutcome& run, bool entry_present) {
  const QuietCase kind = QuietCaseOf(start, run, entry_present);
  switch (kind) {
    case QuietCase::kDeclined:
      return Warning(kind, QuietDeclinedText(display_name));
    case QuietCase::kStartFailed:
      return QuietResult{};
    case QuietCase::kRemoved:
      return QuietResult{kind, QuietRemovedText(display_name, AsksForRestart(run)),
                         platform::kMbIconInformation};
    case QuietCase::kStillRunning:
      return Warning(kind, QuietStillRunningText(display_name));
    case QuietCase::kNotFollowed:
      return Warning(kind, QuietNotFollowedText(display_name));
    case QuietCase::kListedAfterSuccess:
      return Warning(kind, QuietListedAfterSuccessText(display_name));
    case QuietCase::kStillListed:
      break;
  }
  return Warning(kind, QuietFailedText(display_name, run.exit_code, MeaningOf(run.exit_code)));
}

}  // namespace app
