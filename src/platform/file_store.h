#pragma once

// Files the program writes itself: the copies it keeps of the entries it removes. Paths are
// UTF-8 and absolute; results are Win32 error codes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

using FileError = std::uint32_t;
inline constexpr FileError kFileOk = 0;
inline constexpr FileError kFileErrorNotFound = 2;         // ERROR_FILE_NOT_FOUND
inline constexpr FileError kFileErrorPathNotFound = 3;     // ERROR_PATH_NOT_FOUND
inline constexpr FileError kFileErrorAccessDenied = 5;     // ERROR_ACCESS_DENIED
inline constexpr FileError kFileErrorNotSameDevice = 17;   // ERROR_NOT_SAME_DEVICE
inline constexpr FileError kFileErrorExists = 80;          // ERROR_FILE_EXISTS
inline constexpr FileError kFileErrorNotEmpty = 145;       // ERROR_DIR_NOT_EMPTY
inline constexpr FileError kFileErrorAlreadyExists = 183;  // ERROR_ALREADY_EXISTS
inline constexpr FileError kFileErrorTooLarge = 223;       // ERROR_FILE_TOO_LARGE
// The place a handle was opened on is not the path asked for: a folder above it is a link.
inline constexpr FileError kFileErrorStoppedOnLink = 681;  // ERROR_STOPPED_ON_SYMLINK

// What a path names, the last part itself: a reparse point (a junction, a symbolic link) is
// never followed.
enum class PathKind : std::uint8_t { kMissing, kFile, kFolder, kReparsePoint, kNotKnown };

// One item of a folder, as listed: a reparse point is named as one, never followed.
struct FolderItem {
  std::string name;
  PathKind kind = PathKind::kNotKnown;
  std::uint64_t size = 0;  // a file's size in bytes
};

struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  bool operator==(const LocalTime&) const = default;
};

// Safe from any thread, one caller at a time: the removal of an entry uses it from the worker
// that runs it.
class FileStore {
 public:
  virtual ~FileStore() = default;
  // The user's local application data folder (%LOCALAPPDATA%); empty when it cannot be told.
  virtual std::string LocalAppDataFolder() = 0;
  // Creates the folder and every missing one above it; kFileOk when it is there afterwards.
  virtual FileError CreateFolders(const std::string& path) = 0;
  // Creates a file that must not exist yet and writes all of the bytes to it.
  virtual FileError WriteNewFile(const std::string& path,
                                 const std::vector<std::uint8_t>& bytes) = 0;
  // Reads the whole file; kFileErrorTooLarge when it holds more than limit bytes.
  virtual FileError ReadWholeFile(const std::string& path, std::size_t limit,
                                  std::vector<std::uint8_t>& bytes) = 0;
  virtual FileError RemoveFile(const std::string& path) = 0;
  // Removes an empty folder.
  virtual FileError RemoveEmptyFolder(const std::string& path) = 0;
  // Puts the file from in to's place in one step, replacing a file there: whoever opens to
  // finds the old file or the new one, whole.
  virtual FileError MoveReplacing(const std::string& from, const std::string& to) = 0;
  // The local date and time now.
  virtual LocalTime Now() = 0;

  // The folder that programs keep data in for every user (%ProgramData%), as the system knows
  // it, not as the environment says; empty when it cannot be told.
  virtual std::string ProgramDataFolder() = 0;
  virtual PathKind KindOf(const std::string& path) = 0;
  // The owner and the DACL of a file or folder in the system's text form (SDDL: "O:BAD:P(A;;FA;;;
  // SY)"); empty when they cannot be read.
  virtual std::string SecurityText(const std::string& path) = 0;
  // Makes one folder with that owner and DACL (SDDL); kFileErrorAlreadyExists when there is one.
  virtual FileError CreateSecuredFolder(const std::string& path, const std::string& security) = 0;

  // The folder's items, at most limit of them (kFileErrorTooLarge past it, with those read);
  // kFileOk when every item was listed.
  virtual FileError ListFolder(const std::string& path, std::size_t limit,
                               std::vector<FolderItem>& items) = 0;
  // The folders the system names for this user and for everyone: the profile and its known
  // folders, the Start menu and desktop roots, the program folders, the Windows folder, Temp.
  // Those it cannot tell are left out.
  virtual std::vector<std::string> KnownFolders() = 0;
  // Where shortcuts to programs are put: the user's and the common Start menu, whose folders
  // nest, and desktop, whose folders belong to the user.
  struct ShortcutPlaces {
    std::vector<std::string> start_menus;
    std::vector<std::string> desktops;
  };
  virtual ShortcutPlaces ShortcutFolders() = 0;
  // The long form of a path that exists, each 8.3 short name in it spelled out; nothing when
  // it cannot be told.
  virtual std::optional<std::string> LongPath(const std::string& path) = 0;

  // Taking items away whole. Each works through a handle opened on the item itself, never
  // following a link: a link is handled as a link, and a handle whose place turns out not to
  // be the path asked for (a folder above it swapped for a link) is refused with
  // kFileErrorStoppedOnLink before anything changes.

  // Renames the file, folder or link to `to`, which must not exist, on the same volume and
  // without copying: kFileErrorNotSameDevice when `to` lies on another one.
  virtual FileError MoveItem(const std::string& from, const std::string& to) = 0;
  // Copies a file's bytes into a new file; a link is refused. The copy is flushed to the disk.
  virtual FileError CopyFileBytes(const std::string& from, const std::string& to) = 0;
  // The SHA-256 of a file's bytes, in lower-case hex; a link is refused.
  virtual FileError HashFile(const std::string& path, std::string& hash) = 0;
  // Deletes a file, an empty folder, or a link itself.
  virtual FileError DeleteItem(const std::string& path) = 0;
  // Whether a file has named streams besides its data; an error when it cannot be told.
  virtual FileError HasAlternateStreams(const std::string& path, bool& has) = 0;
  // Appends the bytes to an existing file and flushes them to the disk.
  virtual FileError AppendFlushed(const std::string& path, std::string_view bytes) = 0;
};

}  // namespace platform
