#pragma once

// Which program an uninstall entry's command starts, decided as Windows' own list of programs
// decides it, and never by a command interpreter: no search of PATH, of the current folder or
// of this program's folder, and no character of the command read as a shell's syntax. Other
// people registered these commands, and they often run with administrator rights.

#include <string>

#include "app/program_entry.h"
#include "platform/file_dates.h"
#include "platform/launcher.h"

namespace app {

// What planning asks of the system.
struct LaunchSystem {
  platform::Launcher& launcher;  // its folders and environment
  platform::FileDates& files;    // which files exist
  bool wow64 = false;            // this 32-bit program runs on 64-bit Windows
};

enum class LaunchKind {
  kStart,      // start program
  kNoCommand,  // the entry names nothing to start
  kMissing,    // the program is not there, or may not be started; looked_for names it
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
  // kMissing: the path that was sought.
  std::string looked_for;
};

// The command an entry uninstalls with: its own, or for a Windows Installer entry without one,
// msiexec's removal by the product's code. It is what "Last" remembers.
std::string UninstallCommand(const ProgramEntry& program);

// How the entry's uninstall command is started:
//  - variables are expanded in the environment of the entry's view;
//  - a quoted path is the program; of an unquoted command, the text up to the first ".exe" that
//    ends a word is tried first, then each text that ends at a blank, shortest first; ".exe" is
//    added to a name without an extension;
//  - a name without a folder is sought in the system folder, then the Windows folder; any other
//    path counts only when absolute, and only when the file exists;
//  - an entry that sees the 64-bit system reaches the 64-bit system folder through Sysnative;
//  - a batch file, known by the name Windows opens ("u.bat." is one), runs through the system's
//    cmd.exe, unless its arguments hold a character that cmd would take as its own syntax.
LaunchPlan PlanUninstall(const ProgramEntry& program, const LaunchSystem& system);

}  // namespace app
