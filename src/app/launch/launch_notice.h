#pragma once

// Which notice follows a chosen program, by how its uninstall was planned and, for a plan that
// starts a program, by how the start went.

#include "app/launch/launch_plan.h"
#include "platform/launcher.h"

namespace app {

enum class LaunchNotice {
  kNone,                // the uninstaller started, or the user declined to give it the rights
  kCannotUninstall,     // the entry names nothing to start; the tools page follows
  kOfferRemoval,        // the entry is orphaned: the program it names is not there, or Windows
                        // Installer does not know its product; it may be taken off the list
  kMissingUninstaller,  // the command may not be started as it stands
  kStartFailed,         // the system would not start it, or could not tell whether its file
                        // is there, and says why
};

// The one place where an entry is found orphaned. product_unknown: Windows Installer does not
// know the product of an entry that it wrote (installer_entry.h), so msiexec could only fail;
// nothing was started then. start: what starting the plan gave, kStartOk for a plan that
// starts nothing.
LaunchNotice NoticeFor(LaunchKind kind, bool product_unknown, platform::StartError start);

}  // namespace app
