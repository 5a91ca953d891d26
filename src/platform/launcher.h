#pragma once

// Starting other programs and opening pages. No start is checked: the results are not
// reported, as the program never acts on them.

#include <cstdint>
#include <string>

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
  // Starts a command line as WinExec does: as passed, with the given show state.
  virtual void StartCommandLine(const std::string& command_line, int show) = 0;
};

}  // namespace platform
