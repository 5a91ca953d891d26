#pragma once

// The one road from a text an uninstall entry registered to the file it names. The launch, the
// icons and the install dates all ask here:
//  - what a text becomes with its variables expanded, as the system expands them, in the
//    environment of the entry's view;
//  - which program a command starts, decided as Windows' own list of programs decides it and
//    never by a command interpreter: no search of PATH, of the current folder or of this
//    program's folder, and no character of the command read as a shell's syntax;
//  - the path through which this 32-bit program reaches a 64-bit system file (Sysnative);
//  - whether a path may be opened at all.
// Other people registered these texts, and they often run with administrator rights.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/paths/entry_view.h"
#include "app/paths/registered_command.h"
#include "platform/file_dates.h"
#include "platform/launcher.h"
#include "platform/platform.h"

namespace app {

// One variable's value by name; nothing when it is not set.
using VariableLookup = std::function<std::optional<std::string>(const std::string&)>;

// Replaces every %NAME% whose variable is set by its value, as ExpandEnvironmentStrings does.
// An unset name keeps its two "%" and the text between, a "%" without a partner stays, and
// the scan goes on after them: no value is expanded again.
std::string ExpandVariables(std::string_view text, const VariableLookup& lookup);

// Whether an entry of that view runs as a 64-bit program would: read through the 64-bit view
// of a 64-bit system (wow64: this 32-bit program runs on one).
bool SeesNative64Bit(EntryView view, bool wow64);

// Which drives are remote, each asked of the system once a run. Safe from any thread: the scan's
// workers, the icons' workers and the GUI thread share one.
class RemoteDrives {
 public:
  explicit RemoteDrives(platform::FileDates& files) : files_(files) {}
  RemoteDrives(const RemoteDrives&) = delete;
  RemoteDrives& operator=(const RemoteDrives&) = delete;

  // letter: "A" to "Z" in either case; any other character asks about the current folder's.
  bool IsRemote(char letter);

 private:
  enum class Kind : std::uint8_t { kUnknown, kLocal, kRemote };
  static constexpr std::size_t kLetters = 26;
  platform::FileDates& files_;
  std::array<std::atomic<Kind>, kLetters + 1> kinds_{};  // the last: the current folder's
};

// A drive's root ("C:\") or a server's share ("\\server\share"): what the current folder and
// the current drive play no part in.
bool IsAbsolute(std::string_view path);

// Whether the path names a device rather than a file: the device namespace ("\\.\...",
// "\\?\...") or a device's name in any folder (IsDeviceName). Opening one may hang or act on
// the device.
bool IsDevicePath(std::string_view path);

// Whether a path may be opened at all: not on another machine (a server's path, or one on a
// remote drive), not a device. A path that names no drive lies on the current folder's. An
// unreachable server would hold the caller up for the network's time-out, and a reachable one
// would be sent the user's credentials.
//
// A local folder that is a symbolic link to a share leads there all the same; it is not looked
// for. Making one takes administrator rights or developer mode, whoever has those can send this
// program's user anywhere by other means, and finding one would cost a look at every folder of
// every path, for every entry.
bool MayOpen(std::string_view path, RemoteDrives& drives);

// The system's own runners (msiexec, rundll32, cmd): their files say nothing of the program they
// run. name: a file name without a folder, any letter case.
bool IsSystemRunner(std::string_view name);

// What the system tells of paths, the same for every entry of a run. The launcher's folders and
// environment are safe to ask from any thread.
struct PathSystem {
  platform::Launcher& launcher;  // its folders and environment
  platform::FileDates& files;    // which files exist
  bool wow64 = false;            // this 32-bit program runs on 64-bit Windows
};

// The run's path system: a separate 64-bit view of the registry means 64-bit Windows.
PathSystem PathSystemOf(platform::Platform& system);

// The system facts of one entry's view: its environment, its system folder, and how this
// program reaches that.
class EntryPaths {
 public:
  EntryPaths(const PathSystem& system, EntryView view);

  // The text with its variables expanded in the view's environment: an entry that sees the
  // 64-bit system gets the 64-bit program folders and processor, as a 64-bit program would.
  std::string Expanded(std::string_view text) const;

  // A path into the system folder of an entry that sees the 64-bit system reaches the 64-bit
  // one through Sysnative; every other path is returned as it is.
  std::string Reached(const std::string& named) const;

  // The program a command starts, its variables expanded first:
  //  - a quoted path is the program; of an unquoted command, the text up to the first ".exe"
  //    that ends a word is tried first, then each text that ends at a blank, shortest first;
  //    ".exe" is added to a name without an extension;
  //  - a name without a folder is sought in the system folder, then the Windows folder; any
  //    other path counts only when absolute, and only when the file exists.
  CommandProgram ProgramOf(std::string_view command) const;
  // The same, where a file that may not be opened counts as missing and is never looked at.
  CommandProgram ProgramOf(std::string_view command, RemoteDrives& drives) const;

  // A registered path as it is opened: trimmed, expanded, through Sysnative; none when it is
  // not absolute or may not be opened.
  std::optional<std::string> PathToOpen(std::string_view registered, RemoteDrives& drives) const;

  // The system folder as this process is told it; empty when it cannot be told.
  const std::string& SystemFolder() const { return system_folder_; }
  // The Windows folder; empty when it cannot be told.
  const std::string& WindowsFolder() const { return windows_folder_; }

 private:
  const PathSystem system_;
  const bool native64_;
  const std::string system_folder_;
  const std::string windows_folder_;
};

}  // namespace app
