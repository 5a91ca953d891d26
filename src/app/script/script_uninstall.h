#pragma once

// One program uninstalled from a script, by the id the list gives it: its quiet uninstall by
// the rules of Shift, asking and showing nothing, or its uninstaller started as choosing it in
// the menu starts it. Neither remembers the command as "Last": that is the menu's question.

#include "app/command_line/command_line.h"
#include "platform/platform.h"

namespace app {

// The exit code (script_exit.h), with one line on standard error for any but kDone.
int RunUninstall(platform::Platform& platform, const UninstallRequest& request);

}  // namespace app
