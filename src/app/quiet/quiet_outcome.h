#pragma once

// How a quiet uninstall ended, told from what can be seen of it: the start, whether every
// program it started has ended, the last one's exit code, and whether the program's entry is
// still there. The exit code alone is not enough: many uninstallers end with 0 as soon as they
// have started a copy of themselves.

#include <cstdint>
#include <string>

#include "platform/launcher.h"

namespace app {

enum class QuietCase {
  kRemoved,             // the entry is gone
  kStillListed,         // the uninstaller failed, and the entry is still there
  kListedAfterSuccess,  // the uninstaller reported success, but the entry is still there
  kStillRunning,        // the bound passed first; the uninstaller is left running
  kNotFollowed,         // nothing of the uninstaller could be followed, and the entry is there
  kDeclined,            // the user declined administrator rights: nothing was uninstalled
  kStartFailed,         // the uninstaller could not start: reported as any other failed start
};

struct QuietResult {
  QuietCase kind = QuietCase::kStartFailed;
  std::string text;        // the box's text; QuietOutcome leaves it empty for kStartFailed
  std::uint32_t icon = 0;  // the box's icon
};

// Windows Installer's exit codes that a user can act on.
inline constexpr std::uint32_t kExitRestartRequired = 3010;
inline constexpr std::uint32_t kExitRestartStarted = 1641;
inline constexpr std::uint32_t kExitUserCancelled = 1602;
inline constexpr std::uint32_t kExitUnknownProduct = 1605;
inline constexpr std::uint32_t kExitInstallRunning = 1618;

// Which case the run comes to. start: what starting it gave; run: what the wait for it gave.
QuietCase QuietCaseOf(platform::StartError start, const platform::RunOutcome& run,
                      bool entry_present);

// Whether the uninstaller that ended asked for Windows to restart.
bool AsksForRestart(const platform::RunOutcome& run);

// The case with the words of its box.
QuietResult QuietOutcome(const std::string& display_name, platform::StartError start,
                         const platform::RunOutcome& run, bool entry_present);

}  // namespace app
