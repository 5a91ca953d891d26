#pragma once

// File dates behind the file seam, found as FindFirstFile finds them: the first entry whose path
// matches, "*" and "?" being wildcards in the last part. Paths compare ignoring ASCII letter
// case and exactly otherwise: no normalisation of separators or relative parts. Every drive is
// a fixed one unless told otherwise.
//
// Safe from any thread, seam and test side alike: one lock guards the table. Queries made at
// once are recorded in the order they took the lock.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_dates.h"
#include "platform/mutex.h"

namespace sim {

class FileTable final : public platform::FileDates {
 public:
  // Years 1980 to 2107 fit the packed DOS date; a file dated outside them has no usable date.
  static constexpr int kFirstDosYear = 1980;
  static constexpr int kLastDosYear = 2107;

  std::optional<platform::Date> LastWriteDate(const std::string& path) override;
  // A file entry of exactly that path, wildcards taken literally; the error FailUnder gave for
  // a path under a failing folder.
  std::uint32_t FindFile(const std::string& path) override;
  platform::DriveType DriveTypeOf(const std::string& root) override;

  void AddFile(const std::string& path, platform::Date date);
  void AddDirectory(const std::string& path);
  // A file whose date cannot be converted to the packed DOS date-time.
  void AddUnconvertibleFile(const std::string& path);
  void Remove(const std::string& path);
  // Every path under folder ("\\host\share") fails to be found with error: a volume that does
  // not answer.
  void FailUnder(const std::string& folder, std::uint32_t error);
  // The kind of the drive whose root is root ("Z:\"), or with "" the current directory's.
  void SetDriveType(const std::string& root, platform::DriveType type);
  // Every path whose date was asked for, in order.
  std::vector<std::string> Queries() const;
  // Every path asked whether it is a file, in order.
  std::vector<std::string> Checked() const;

 private:
  struct Entry {
    bool directory = false;
    std::optional<platform::Date> date;
  };
  mutable platform::Mutex mutex_;
  std::map<std::string, Entry> entries_ GUARDED_BY(mutex_);  // keyed by the upper-cased path
  // Keyed by the upper-cased root.
  std::map<std::string, platform::DriveType> drives_ GUARDED_BY(mutex_);
  std::vector<std::string> queries_ GUARDED_BY(mutex_);
  std::vector<std::string> checked_ GUARDED_BY(mutex_);
  std::map<std::string, std::uint32_t> failing_ GUARDED_BY(mutex_);  // by upper-cased folder
};

}  // namespace sim
