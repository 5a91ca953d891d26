#pragma once

// What the program asks of files: the date the catalogue gives an entry without one, whether
// a file exists, and which kind of drive a path lies on.

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

struct Date {
  int year = 0;
  int month = 0;
  int day = 0;
};

// GetDriveType's answers.
enum class DriveType : std::uint32_t {
  kUnknown = 0,
  kNoRootDirectory = 1,
  kRemovable = 2,
  kFixed = 3,
  kRemote = 4,
  kCdRom = 5,
  kRamDisk = 6,
};

inline constexpr std::uint32_t kFileFound = 0;
inline constexpr std::uint32_t kFileNotFound = 2;      // ERROR_FILE_NOT_FOUND
inline constexpr std::uint32_t kFilePathNotFound = 3;  // ERROR_PATH_NOT_FOUND

// Whether a FindFile answer says the file is surely not there.
inline bool IsSurelyMissing(std::uint32_t error) {
  return error == kFileNotFound || error == kFilePathNotFound;
}

// Safe from any thread: threads may ask at once.
class FileDates {
 public:
  virtual ~FileDates() = default;
  // The local last-write date of the first directory entry matching path, when that entry is a
  // file and its date fits the packed DOS date-time (1980 to 2107); nothing otherwise.
  virtual std::optional<Date> LastWriteDate(const std::string& path) = 0;
  // 0 when path names an existing file, not a folder; otherwise why not, as a Win32 error.
  // ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND only when the volume of the path answered and
  // the file is not on it (a folder of that name is not the file); any other error when it could
  // not be told: a share that does not answer, a drive that is not ready, a folder that may not
  // be read. Taken literally: no wildcards.
  virtual std::uint32_t FindFile(const std::string& path) = 0;
  bool FileExists(const std::string& path) { return FindFile(path) == kFileFound; }
  // The kind of drive whose root directory is root ("C:\"); an empty root asks about the drive
  // of the current directory.
  virtual DriveType DriveTypeOf(const std::string& root) = 0;
};

}  // namespace platform
