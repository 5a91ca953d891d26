#pragma once

// Icons behind the icon seam: files that hold so many icons, .ico files, directories, running
// processes and their image files, the environment and network drives. An icon is a number that
// remembers where it came from, counted until destroyed; every path the program asked about is
// recorded, so a test can tell which ones it never opened.

#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/icons.h"

namespace sim {

class IconFiles final : public platform::Icons {
 public:
  platform::IconId ExtractIcon(const std::string& path, int index, int size) override;
  platform::IconId LoadIconFile(const std::string& path, int size) override;
  platform::IconId GenericIcon(int size) override;
  void DestroyIcon(platform::IconId icon) noexcept override;
  bool IsFile(const std::string& path) override;
  bool IsRemoteDrive(char letter) override;
  std::string ProcessImagePath(const std::string& exe_name) override;
  std::optional<std::string> Environment(const std::string& name) override;
  std::string SystemDirectory() override { return system_directory_; }
  bool Is64BitSystem() override { return is_64_bit_; }

  // Paths compare without regard to ASCII letter case, as on Windows.
  // An executable or library with icons at the indexes 0 to count - 1 and these resource ids.
  void AddProgram(const std::string& path, int count, std::vector<int> resource_ids = {});
  // An .ico file; a broken one loads nothing.
  void AddIconFile(const std::string& path, bool broken = false);
  // A file with no icon at all: empty, truncated, or of another kind.
  void AddPlainFile(const std::string& path);
  void AddDirectory(const std::string& path);
  // The first running process of that name has this image; empty: it will not say.
  void SetProcessImage(const std::string& exe_name, const std::string& path);
  void SetEnvironment(const std::string& name, const std::string& value);
  void SetRemoteDrive(char letter) { remote_drives_.insert(letter); }
  void SetSystem(const std::string& system_directory, bool is_64_bit);

  // Where a live icon came from: "path,index@size", "path@size" for an .ico file, or
  // "generic@size"; empty for a destroyed or unknown one.
  std::string SourceOf(platform::IconId icon) const;
  std::size_t LiveIcons() const;
  // Icons read so far, generic ones included, whether or not a read gave one.
  std::size_t Reads() const;
  // Every path the program tried to read an icon from or asked about, in order.
  std::vector<std::string> Opened() const;

 private:
  struct File {
    enum class Kind { kProgram, kIcon, kBrokenIcon, kPlain, kDirectory };
    Kind kind = Kind::kPlain;
    int count = 0;
    std::vector<int> resource_ids;
  };
  const File* Find(const std::string& path);
  platform::IconId Make(std::string source);

  mutable std::mutex lock_;  // the seam may be called from workers
  std::map<std::string, File> files_;
  std::map<std::string, std::string> process_images_;
  std::map<std::string, std::string> environment_;
  std::set<char> remote_drives_;
  std::string system_directory_ = "C:\\windows\\system32";
  bool is_64_bit_ = true;
  std::map<platform::IconId, std::string> icons_;
  platform::IconId next_icon_ = 0x9001;
  std::vector<std::string> opened_;
  std::size_t reads_ = 0;
};

}  // namespace sim
