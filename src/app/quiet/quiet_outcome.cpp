#include "app/quiet/quiet_outcome.h"

#include "app/texts/texts.h"

namespace app {
namespace {

bool AsksForRestart(const platform::TrackedRun& run) {
  return run.ended &&
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

QuietResult QuietOutcome(const std::string& display_name, const platform::TrackedRun& run,
                         bool entry_present) {
  if (run.error == platform::kErrorCancelled) {
    return Warning(QuietCase::kDeclined, QuietDeclinedText(display_name));
  }
  if (run.error != platform::kStartOk) return QuietResult{};
  // A gone entry is the answer, even when a window of the uninstaller's is still open.
  if (!entry_present) {
    return QuietResult{QuietCase::kRemoved, QuietRemovedText(display_name, AsksForRestart(run)),
                       platform::kMbIconInformation};
  }
  if (!run.ended) return Warning(QuietCase::kStillRunning, QuietStillRunningText(display_name));
  if (run.exit_code == 0) {
    return Warning(QuietCase::kListedAfterSuccess, QuietListedAfterSuccessText(display_name));
  }
  return Warning(QuietCase::kStillListed,
                 QuietFailedText(display_name, run.exit_code, MeaningOf(run.exit_code)));
}

}  // namespace app
