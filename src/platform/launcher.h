#pragma once

// Starting other programs and opening pages, one way for all of them, and what choosing the
// program to start needs to know of the system: its folders and this process's environment.

#include <cstdint>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/windowing.h"

namespace platform {

// The shell's flags for a start through it (SEE_MASK_*).
inline constexpr std::uint32_t kSeeMaskNoAsync = 0x100;  // also DDE wait: finish before returning
inline constexpr std::uint32_t kSeeMaskFlagNoUi = 0x400;

// Win32 error codes a start reports.
using StartError = std::uint32_t;
inline constexpr StartError kStartOk = 0;
inline constexpr StartError kErrorFileNotFound = 2;
inline constexpr StartError kErrorAccessDenied = 5;
inline constexpr StartError kErrorBadExeFormat = 193;
inline constexpr StartError kErrorCancelled = 1223;
inline constexpr StartError kErrorElevationRequired = 740;

// Windows Installer's INSTALLSTATE_UNKNOWN: no such product is installed or advertised.
inline constexpr int kInstallStateUnknown = -1;

// Whether a start asks for administrator rights.
enum class Elevation : std::uint8_t {
  kNever,       // the program runs with this program's rights, or fails
  kWhenNeeded,  // a program that needs them (error 740) is started again through the shell
                // with "runas": the same file, its parameters, in the same folder
  kAlways,      // through the shell with "runas" from the first; the user may decline
};

// How much of a start is followed to its end.
enum class Follow : std::uint8_t {
  kNothing,  // the start alone
  kProcess,  // the started program
  kJob,      // the started program and every program it starts, and theirs: it is started
             // suspended, put in a job that lets programs break away and never ends them, then
             // resumed. An elevated start cannot join this program's job: its program alone is
             // followed.
};

// One start of another program or page. With a command line, CreateProcess runs program with
// it, exactly as given: no search of any folder. Without one, the shell opens program (a file
// or an address) with parameters.
struct StartSpec {
  std::string program = {};
  std::string command_line = {};
  // What the shell passes to program: its start through the shell, and its restart with
  // administrator rights.
  std::string parameters = {};
  std::string directory = {};  // where it starts; empty: in this program's current folder
  int show = kSwShowNormalWindow;
  std::string verb = {};  // a start through the shell without elevation; empty: the default action
  std::uint32_t shell_mask = kSeeMaskFlagNoUi | kSeeMaskNoAsync;
  // The started program does not inherit this program's choice of which system errors show a
  // box (CREATE_DEFAULT_ERROR_MODE): it may want to ask for a missing disk.
  bool default_error_mode = true;
  Elevation elevation = Elevation::kNever;
  Follow follow = Follow::kNothing;
  // A start through the shell: the started program may bring its window to the front.
  bool allow_foreground = false;
};

// How a followed start ended.
enum class RunEnd : std::uint8_t {
  kEnded,     // all that was followed has ended
  kRunning,   // the bound passed first, or the wait was asked to stop: it is left running
  kNotKnown,  // there was nothing to follow (no process handle came back)
};

struct RunOutcome {
  RunEnd end = RunEnd::kNotKnown;
  std::uint32_t exit_code = 0;  // kEnded: of the last followed program to end
};

// What a start followed: it is waited for through here. Letting it go ends nothing.
class Followed {
 public:
  virtual ~Followed() = default;
  // Waits until it has ended, for at most bound_ms, handling the calling thread's messages
  // meanwhile; stop cuts the wait short, as the bound does.
  virtual RunOutcome Wait(std::uint32_t bound_ms, std::stop_token stop) = 0;
};

// The owner of what a start started: its error, and what it follows.
class Started {
 public:
  Started() = default;
  explicit Started(StartError error, std::unique_ptr<Followed> followed = nullptr)
      : error_(error), followed_(std::move(followed)) {}

  // kStartOk, or the error of the last attempt (kErrorCancelled: the user declined the rights).
  StartError Error() const { return error_; }
  // One bounded wait; "not known" when nothing was started or nothing can be followed.
  RunOutcome Wait(std::uint32_t bound_ms, std::stop_token stop = {}) {
    if (error_ != kStartOk || !followed_) return RunOutcome{};
    return followed_->Wait(bound_ms, std::move(stop));
  }

 private:
  StartError error_ = kStartOk;
  std::unique_ptr<Followed> followed_;
};

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Starts as asked. Safe from any thread; a thread that starts through the shell
  // handles its own messages while it waits.
  virtual Started Start(const StartSpec& asked) = 0;
  // Waits ms, handling the calling thread's messages meanwhile.
  virtual void Pause(std::uint32_t ms) = 0;
  // Whether this program runs with administrator rights. Safe from any thread.
  virtual bool Elevated() = 0;
  // This program's own file, by its full path; empty when it cannot be told.
  virtual std::string OwnProgramFile() = 0;
  // The account this program runs as, as a SID's text ("S-1-5-21-..."); empty when it cannot be
  // told.
  virtual std::string OwnAccount() = 0;
  // What Windows Installer knows of a product (MsiQueryProductStateW's INSTALLSTATE); nothing
  // when msi.dll or the call is not there. msi.dll is loaded from the system folder by its full
  // path the first time this is asked, never before. Safe from any thread: the list for scripts
  // asks from its jobs.
  virtual std::optional<int> InstallerProductState(const std::string& product_code) = 0;
  // Every product Windows Installer knows for this user or the machine, installed or advertised
  // (MsiEnumProductsW): the products whose state is not INSTALLSTATE_UNKNOWN, asked once rather
  // than one by one. Nothing when msi.dll or the call is not there, or the list cannot be read.
  // Safe from any thread.
  virtual std::optional<std::vector<std::string>> InstallerProducts() = 0;
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
