#pragma once

// How the command line's actions end, one code per outcome a script may act on. README's
// "From a script" has the same table.

#include "app/command_line/command_line.h"

namespace app {

enum class ScriptExit : int {
  kDone = 0,           // uninstalled; the list written; without /quiet, the uninstaller started
  kRestartNeeded = 1,  // uninstalled, and Windows must restart to finish
  kUsage = kUsageExitCode,
  kNoSuchId = 3,  // or no record of that folder whose program is gone
  kNoQuietCommand = 4,
  kStillListed = 5,         // the uninstaller ended (its code on standard error), entry still there
  kStillRunning = 6,        // the uninstaller was still running when the wait ended
  kNeedsAdministrator = 7,  // it needs administrator rights, or they were declined
  kUninstallerMissing = 8,  // the uninstaller is not there, or cannot be started
  kListNotWritten = 9,      // no standard output, or the file could not be written
  kNotAllRemoved = 10,      // some leftovers were not removed; each is named with its reason
};

}  // namespace app
