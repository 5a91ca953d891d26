#pragma once

// How a chosen program's uninstaller is started: its program, command line and folder, decided
// without a command interpreter.

#include <string>

#include "app/entry/program_entry.h"
#include "app/paths/registered_path.h"

namespace app {

enum class LaunchKind {
  kStart,        // start program
  kNoCommand,    // the entry names nothing to start
  kMissing,      // the program's file is not there; looked_for names it
  kRefused,      // the command may not be started as it stands (the file may well exist)
  kUnreachable,  // whether the program's file is there could not be told; error says why
};

struct LaunchPlan {
  LaunchKind kind = LaunchKind::kNoCommand;
  // The file that runs, by its full path as this program reaches it: through Sysnative for a
  // 64-bit system program.
  std::string program;
  // The program quoted as it knows itself, then the rest of the command exactly.
  std::string command_line;
  // The rest of the command without the blanks that part it from the program: what a start
  // through the shell passes as parameters.
  std::string arguments;
  // The program's own folder, as it knows it.
  std::string directory;
  int show = platform::kSwShowNormalWindow;
  // kMissing, kRefused and kUnreachable: the path that was sought, or the command.
  std::string looked_for;
  std::uint32_t error = 0;  // kUnreachable: the system's error
};

// How the entry's uninstall command is started: the program the registered paths' rules find
// for it (registered_path.h) runs; a batch file, known by the name Windows opens ("u.bat." is
// one), runs through the system's cmd.exe, unless its arguments hold a character that cmd would
// take as its own syntax.
LaunchPlan PlanUninstall(const ProgramEntry& program, const PathSystem& system);

}  // namespace app
