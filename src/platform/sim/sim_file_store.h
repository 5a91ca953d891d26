#pragma once

// Files in memory, with folders, a clock that stands still unless moved, and the faults a test
// needs: a folder that cannot be made or written in, and a file that reads back changed.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_store.h"

namespace sim {

inline constexpr std::string_view kLocalAppData = "C:\\Users\\user\\AppData\\Local";

class FileStore final : public platform::FileStore {
 public:
  std::string LocalAppDataFolder() override { return local_app_data_; }
  platform::FileError CreateFolders(const std::string& path) override;
  platform::FileError WriteNewFile(const std::string& path,
                                   const std::vector<std::uint8_t>& bytes) override;
  platform::FileError ReadWholeFile(const std::string& path, std::size_t limit,
                                    std::vector<std::uint8_t>& bytes) override;
  platform::FileError RemoveFile(const std::string& path) override;
  platform::LocalTime Now() override { return now_; }

  void SetLocalAppData(std::string folder) { local_app_data_ = std::move(folder); }
  void SetNow(platform::LocalTime now) { now_ = now; }
  // Making this folder, or a file in it, fails with access denied.
  void DenyWrites(const std::string& folder) { denied_.insert(Key(folder)); }
  // Every file written from now on reads back with its last byte changed.
  void CorruptReads(bool corrupt) { corrupt_reads_ = corrupt; }

  // The files as written, by path as given.
  const std::map<std::string, std::vector<std::uint8_t>>& Files() const { return files_; }
  bool FolderExists(const std::string& path) const { return folders_.count(Key(path)) != 0; }

 private:
  static std::string Key(const std::string& path);
  static std::string Parent(const std::string& path);

  std::string local_app_data_ = std::string(kLocalAppData);
  platform::LocalTime now_{2026, 12, 7, 21, 30, 5};
  std::set<std::string> folders_;
  std::set<std::string> denied_;
  std::map<std::string, std::vector<std::uint8_t>> files_;
  bool corrupt_reads_ = false;
};

}  // namespace sim
