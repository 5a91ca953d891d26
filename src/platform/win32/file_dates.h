#pragma once

#include "platform/file_dates.h"

namespace win32 {

// The local last-write date of a file, through its packed DOS date. It keeps nothing between
// calls, so it is safe from any thread.
class FileDates : public platform::FileDates {
 public:
  std::optional<platform::Date> LastWriteDate(const std::string& path) override;
};

}  // namespace win32
