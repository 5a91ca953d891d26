#pragma once

// Icons behind the icon seam: files that hold so many icons, .ico files and directories, each
// also put in the substitute file system. An icon is a number that remembers where it came
// from, counted until destroyed; every path the program read an icon from is recorded, so a
// test can tell which ones it never opened.

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "platform/icons.h"
#include "platform/mutex.h"
#include "platform/sim/sim_files.h"

namespace sim {

class IconFiles final : public platform::Icons {
 public:
  explicit IconFiles(FileTable& files) : files_table_(files) {}

  platform::IconId ExtractIcon(const std::string& path, int index, int size) override;
  platform::IconId LoadIconFile(const std::string& path, int size) override;
  platform::IconId GenericIcon(int size) override;
  void DestroyIcon(platform::IconId icon) noexcept override;

  // Paths compare without regard to ASCII letter case, as on Windows.
  // An executable or library with icons at the indexes 0 to count - 1 and these resource ids.
  void AddProgram(const std::string& path, int count, std::vector<int> resource_ids = {});
  // An .ico file; a broken one loads nothing.
  void AddIconFile(const std::string& path, bool broken = false);
  // A file with no icon at all: empty, truncated, or of another kind.
  void AddPlainFile(const std::string& path);
  void AddDirectory(const std::string& path);

  // Where a live icon came from: "path,index@size", "path@size" for an .ico file, or
  // "generic@size"; empty for a destroyed or unknown one.
  std::string SourceOf(platform::IconId icon) const;
  std::size_t LiveIcons() const;
  // Icons read so far, generic ones included, whether or not a read gave one.
  std::size_t Reads() const;
  // Every path the program tried to read an icon from, in order.
  std::vector<std::string> Opened() const;

 private:
  struct File {
    enum class Kind { kProgram, kIcon, kBrokenIcon, kPlain, kDirectory };
    Kind kind = Kind::kPlain;
    int count = 0;
    std::vector<int> resource_ids;
  };
  const File* Find(const std::string& path) REQUIRES(lock_);
  platform::IconId Make(std::string source) REQUIRES(lock_);
  void Add(const std::string& path, File file);

  FileTable& files_table_;
  mutable platform::Mutex lock_;  // the seam may be called from workers
  std::map<std::string, File> files_ GUARDED_BY(lock_);
  std::map<platform::IconId, std::string> icons_ GUARDED_BY(lock_);
  platform::IconId next_icon_ GUARDED_BY(lock_) = 0x9001;
  std::vector<std::string> opened_ GUARDED_BY(lock_);
  std::size_t reads_ GUARDED_BY(lock_) = 0;
};

}  // namespace sim
