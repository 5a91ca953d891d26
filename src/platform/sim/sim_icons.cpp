#include "platform/sim/sim_icons.h"

#include <algorithm>

#include "platform/text.h"

namespace sim {
namespace {

std::string Key(const std::string& path) {
  return text::UpperAscii(path);
}

std::string Sized(const std::string& source, int size) {
  return source + "@" + std::to_string(size);
}

}  // namespace

const IconFiles::File* IconFiles::Find(const std::string& path) {
  opened_.push_back(path);
  const auto it = files_.find(Key(path));
  return it == files_.end() ? nullptr : &it->second;
}

platform::IconId IconFiles::Make(std::string source) {
  const platform::IconId icon = next_icon_++;
  icons_[icon] = std::move(source);
  return icon;
}

platform::IconId IconFiles::ExtractIcon(const std::string& path, int index, int size) {
  const platform::MutexLock hold(lock_);
  ++reads_;
  const File* file = Find(path);
  if (file == nullptr || file->kind != File::Kind::kProgram) return platform::kNoIcon;
  const bool found =
      index >= 0 ? index < file->count
                 : std::count(file->resource_ids.begin(), file->resource_ids.end(), -index) > 0;
  if (!found) return platform::kNoIcon;
  return Make(Sized(path + "," + std::to_string(index), size));
}

platform::IconId IconFiles::LoadIconFile(const std::string& path, int size) {
  const platform::MutexLock hold(lock_);
  ++reads_;
  const File* file = Find(path);
  if (file == nullptr || file->kind != File::Kind::kIcon) return platform::kNoIcon;
  return Make(Sized(path, size));
}

platform::IconId IconFiles::GenericIcon(int size) {
  const platform::MutexLock hold(lock_);
  ++reads_;
  return Make(Sized("generic", size));
}

void IconFiles::DestroyIcon(platform::IconId icon) noexcept {
  const platform::MutexLock hold(lock_);
  icons_.erase(icon);
}

// Icon files bear a date the catalogue never shows: their entries have one of their own.
constexpr platform::Date kFileDate{2020, 1, 1};

void IconFiles::Add(const std::string& path, File file) {
  if (file.kind == File::Kind::kDirectory) {
    files_table_.AddDirectory(path);
  } else {
    files_table_.AddFile(path, kFileDate);
  }
  const platform::MutexLock hold(lock_);
  files_[Key(path)] = std::move(file);
}

void IconFiles::AddProgram(const std::string& path, int count, std::vector<int> resource_ids) {
  Add(path, File{File::Kind::kProgram, count, std::move(resource_ids)});
}

void IconFiles::AddIconFile(const std::string& path, bool broken) {
  Add(path, File{broken ? File::Kind::kBrokenIcon : File::Kind::kIcon, 0, {}});
}

void IconFiles::AddPlainFile(const std::string& path) {
  Add(path, File{File::Kind::kPlain, 0, {}});
}

void IconFiles::AddDirectory(const std::string& path) {
  Add(path, File{File::Kind::kDirectory, 0, {}});
}

std::string IconFiles::SourceOf(platform::IconId icon) const {
  const platform::MutexLock hold(lock_);
  const auto it = icons_.find(icon);
  return it == icons_.end() ? std::string() : it->second;
}

std::size_t IconFiles::LiveIcons() const {
  const platform::MutexLock hold(lock_);
  return icons_.size();
}

std::size_t IconFiles::Reads() const {
  const platform::MutexLock hold(lock_);
  return reads_;
}

std::vector<std::string> IconFiles::Opened() const {
  const platform::MutexLock hold(lock_);
  return opened_;
}

}  // namespace sim
