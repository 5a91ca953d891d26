#pragma once

#include <map>
#include <mutex>
#include <string>

#include "platform/file_dates.h"

namespace win32 {

// The local last-write date of a file, through its packed DOS date; whether a file exists;
// the kind of a drive. Safe from any thread.
class FileDates : public platform::FileDates {
 public:
  std::optional<platform::Date> LastWriteDate(const std::string& path) override;
  std::uint32_t FindFile(const std::string& path) override;
  platform::DriveType DriveTypeOf(const std::string& root) override;

 private:
  bool VolumeAnswers(const std::wstring& root);

  // When each volume root last answered, by the tick count: asking a volume costs several
  // round trips, and a list of thousands asks the same few volumes over and over.
  std::mutex volumes_lock_;
  std::map<std::wstring, unsigned long long> volumes_answered_;
};

}  // namespace win32
