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

// Safe from any thread: threads may ask at once.
class FileDates {
 public:
  virtual ~FileDates() = default;
  // The local last-write date of the first directory entry matching path, when that entry is a
  // file and its date fits the packed DOS date-time (1980 to 2107); nothing otherwise.
  virtual std::optional<Date> LastWriteDate(const std::string& path) = 0;
  // Whether path names an existing file, not a folder. Taken literally: no wildcards.
  virtual bool FileExists(const std::string& path) = 0;
  // The kind of drive whose root directory is root ("C:\"); an empty root asks about the drive
  // of the current directory.
  virtual DriveType DriveTypeOf(const std::string& root) = 0;
};

}  // namespace platform
