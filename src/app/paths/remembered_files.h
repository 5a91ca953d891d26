#pragma once

// File look-ups answered once a path: for a one-shot look at many entries, where thousands of
// Windows Installer entries name the same runner and each look-up is a round trip.

#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/file_dates.h"

namespace app {

// Remembers each path's FindFile answer for as long as it lives; everything else is asked of
// the files it wraps. Safe from any thread, as they are.
class RememberedFiles final : public platform::FileDates {
 public:
  explicit RememberedFiles(platform::FileDates& files) : files_(files) {}

  std::optional<platform::Date> LastWriteDate(const std::string& path) override {
    return files_.LastWriteDate(path);
  }
  std::uint32_t FindFile(const std::string& path) override;
  platform::DriveType DriveTypeOf(const std::string& root) override {
    return files_.DriveTypeOf(root);
  }

 private:
  platform::FileDates& files_;
  std::mutex lock_;
  std::unordered_map<std::string, std::uint32_t> answers_;
};

}  // namespace app
