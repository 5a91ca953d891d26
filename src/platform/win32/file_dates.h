#pragma once

#include "platform/file_dates.h"

namespace win32 {

// The local last-write date of a file, through its packed DOS date; whether a file exists;
// the kind of a drive. It keeps nothing between calls, so it is safe from any thread.
class FileDates : public platform::FileDates {
 public:
  std::optional<platform::Date> LastWriteDate(const std::string& path) override;
  std::uint32_t FindFile(const std::string& path) override;
  platform::DriveType DriveTypeOf(const std::string& root) override;
};

}  // namespace win32
