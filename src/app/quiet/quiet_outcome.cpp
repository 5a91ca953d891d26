#include "app/quiet/quiet_outcome.h"

#include "app/texts/texts.h"

namespace app {
namespace {

bool AsksForRestart(const platform::RunOutcome& run) {
  return run.end == platform::RunEnd::kEnded &&
         (run.exit_code == kExitRestartRequired || run.exit_code == kExitRestartStarted);
}

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

QuietResult QuietOutcome(const std::string& display_name, platform::StartError start,
                         const platform::RunOutcome& run, bool entry_present) {
  if (start == platform::kErrorCancelled) {
    return Warning(QuietCase::kDeclined, QuietDeclinedText(display_name));
  }
  if (start != platform::kStartOk) return QuietResult{};
  // A gone entry is the answer, even when a window of the uninstaller's is still open.
  if (!entry_present) {
    return QuietResult{QuietCase::kRemoved, QuietRemovedText(display_name, AsksForRestart(run)),
                       platform::kMbIconInformation};
  }
  if (run.end == platform::RunEnd::kRunning) {
    return Warning(QuietCase::kStillRunning, QuietStillRunningText(display_name));
  }
  // Its exit code is not known either: no success or failure may be claimed.
  if (run.end == platform::RunEnd::kNotKnown) {
    return Warning(QuietCase::kNotFollowed, QuietNotFollowedText(display_name));
  }
  if (run.exit_code == 0) {
    return Warning(QuietCase::kListedAfterSuccess, QuietListedAfterSuccessText(display_name));
  }
  return Warning(QuietCase::kStillListed,
                 QuietFailedText(display_name, run.exit_code, MeaningOf(run.exit_code)));
}

}  // namespace app
