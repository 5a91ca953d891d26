#pragma once

#include <optional>
#include <string>

namespace platform {

struct Date {
  int year = 0;
  int month = 0;
  int day = 0;
};

// Safe from any thread: threads may ask at once.
class FileDates {
 public:
  virtual ~FileDates() = default;
  // The local last-write date of the first directory entry matching path, when that entry is a
  // file and its date fits the packed DOS date-time (1980 to 2107); nothing otherwise.
  virtual std::optional<Date> LastWriteDate(const std::string& path) = 0;
};

}  // namespace platform
