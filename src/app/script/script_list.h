#pragma once

// The list for scripts: the programs of "All Programs" with what a script may want to know of
// each, read as the menu reads them, with none of the menu's windows.

#include <vector>

#include "app/command_line/command_line.h"
#include "app/listing/listed_program.h"
#include "platform/platform.h"

namespace app {

// The programs "All Programs" shows with the options a run starts with, in its order; with
// all, what Windows' own list hides too.
std::vector<ListedProgram> ListedPrograms(platform::Platform& platform, bool all);

// Writes the list as asked; the exit code (script_exit.h).
int RunList(platform::Platform& platform, const ListRequest& request);

}  // namespace app
