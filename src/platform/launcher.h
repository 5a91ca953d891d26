#pragma once

// Starting other programs and opening pages. No start is checked: the results are not
// reported, as the program never acts on them.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/windowing.h"

namespace platform {

inline constexpr std::uint32_t kSeeMaskFlagDdeWait = 0x100;
inline constexpr std::uint32_t kSeeMaskFlagNoUi = 0x400;

struct ShellExecuteRequest {
  std::uint32_t mask = 0;
  WindowId owner = kNoWindow;
  std::string verb;  // empty: the file's default action
  std::string file;
  std::string parameters;
  std::string directory;
  int show = kSwHideWindow;
};

class Launcher {
 public:
  virtual ~Launcher() = default;
  // ShellExecute: owner, verb (empty for the default action), file, parameters, directory, show.
  virtual void Execute(WindowId owner, const std::string& verb, const std::string& file,
                       const std::string& parameters, const std::string& directory, int show) = 0;
  // ShellExecuteEx with the request's fields.
  virtual void ExecuteEx(const ShellExecuteRequest& request) = 0;
  // CreateProcess: program is the file that runs (empty: the system searches for the command
  // line's first word); the command line reaches it unchanged, with the given show state.
  virtual void StartCommandLine(const std::string& program, const std::string& command_line,
                                int show) = 0;
  // Where the system's own programs live; empty when it cannot be told.
  virtual std::string SystemDirectory() = 0;
};

// file in directory; empty when there is no directory, so that nothing is ever looked for in
// the current one.
inline std::string InDirectory(std::string directory, std::string_view file) {
  if (directory.empty()) return {};
  if (directory.back() != '\\') directory += '\\';
  return directory + std::string(file);
}

// A system program by its full path, so that no file of that name in the program's own folder
// or the current directory runs in its place. Empty when there is no system directory.
inline std::string SystemProgram(Launcher& launcher, std::string_view file) {
  return InDirectory(launcher.SystemDirectory(), file);
}

}  // namespace platform
