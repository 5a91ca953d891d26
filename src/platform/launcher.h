#pragma once

// Starting other programs and opening pages, and what choosing the program to start needs to
// know of the system: its folders and this process's environment. Pages and taskkill are
// started unchecked, as the program never acts on those results; an uninstaller's start
// reports its failure.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/windowing.h"

namespace platform {

inline constexpr std::uint32_t kSeeMaskFlagDdeWait = 0x100;
inline constexpr std::uint32_t kSeeMaskFlagNoUi = 0x400;

// Win32 error codes a start reports.
using StartError = std::uint32_t;
inline constexpr StartError kStartOk = 0;
inline constexpr StartError kErrorFileNotFound = 2;
inline constexpr StartError kErrorAccessDenied = 5;
inline constexpr StartError kErrorBadExeFormat = 193;
inline constexpr StartError kErrorCancelled = 1223;
inline constexpr StartError kErrorElevationRequired = 740;

struct ShellExecuteRequest {
  std::uint32_t mask = 0;
  WindowId owner = kNoWindow;
  std::string verb;  // empty: the file's default action
  std::string file;
  std::string parameters;
  std::string directory;
  int show = kSwHideWindow;
};

// CreateProcess with the program named: no search of any folder, the command line passed on
// unchanged, started in the given folder with the given show state.
struct ProcessStart {
  std::string application;
  std::string command_line;
  std::string directory;
  int show = kSwShowNormalWindow;
};

class Launcher {
 public:
  virtual ~Launcher() = default;
  // ShellExecute: owner, verb (empty for the default action), file, parameters, directory, show.
  virtual void Execute(WindowId owner, const std::string& verb, const std::string& file,
                       const std::string& parameters, const std::string& directory, int show) = 0;
  // ShellExecuteEx with the request's fields; kStartOk or the error it reports.
  virtual StartError ExecuteEx(const ShellExecuteRequest& request) = 0;
  // CreateProcess; kStartOk or the error it reports. The started program does not inherit this
  // program's choice of which system errors show a box.
  virtual StartError StartProcess(const ProcessStart& start) = 0;
  // The folders and the environment below are safe to ask from any thread.
  // Where the system's own programs live, as this process is told it (a 32-bit process on
  // 64-bit Windows is told System32 and given the 32-bit programs there); empty when it cannot
  // be told.
  virtual std::string SystemDirectory() = 0;
  // The system's Windows folder, the same for every user; empty when it cannot be told.
  virtual std::string WindowsDirectory() = 0;
  // One variable of this process's environment, its name compared ignoring letter case;
  // nothing when it is not set.
  virtual std::optional<std::string> EnvironmentVariable(const std::string& name) = 0;
  // The system's own words for an error, without a line break at the end, its "%1" replaced by
  // path, the file that the error is about; empty when it has none.
  virtual std::string ErrorText(StartError error, const std::string& path) = 0;
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
