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
  const std::lock_guard hold(lock_);
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
  const std::lock_guard hold(lock_);
  ++reads_;
  const File* file = Find(path);
  if (file == nullptr || file->kind != File::Kind::kIcon) return platform::kNoIcon;
  return Make(Sized(path, size));
}

platform::IconId IconFiles::GenericIcon(int size) {
  const std::lock_guard hold(lock_);
  ++reads_;
  return Make(Sized("generic", size));
}

void IconFiles::DestroyIcon(platform::IconId icon) noexcept {
  const std::lock_guard hold(lock_);
  icons_.erase(icon);
}

bool IconFiles::IsFile(const std::string& path) {
  const std::lock_guard hold(lock_);
  const File* file = Find(path);
  return file != nullptr && file->kind != File::Kind::kDirectory;
}

bool IconFiles::IsRemoteDrive(char letter) {
  const std::lock_guard hold(lock_);
  return remote_drives_.contains(static_cast<char>(text::UpperAscii(std::string(1, letter))[0]));
}

std::string IconFiles::ProcessImagePath(const std::string& exe_name) {
  const std::lock_guard hold(lock_);
  const auto it = process_images_.find(exe_name);
  return it == process_images_.end() ? std::string() : it->second;
}

std::optional<std::string> IconFiles::Environment(const std::string& name) {
  const std::lock_guard hold(lock_);
  const auto it = environment_.find(Key(name));
  if (it == environment_.end()) return std::nullopt;
  return it->second;
}

void IconFiles::AddProgram(const std::string& path, int count, std::vector<int> resource_ids) {
  files_[Key(path)] = File{File::Kind::kProgram, count, std::move(resource_ids)};
}

void IconFiles::AddIconFile(const std::string& path, bool broken) {
  files_[Key(path)] = File{broken ? File::Kind::kBrokenIcon : File::Kind::kIcon, 0, {}};
}

void IconFiles::AddPlainFile(const std::string& path) {
  files_[Key(path)] = File{File::Kind::kPlain, 0, {}};
}

void IconFiles::AddDirectory(const std::string& path) {
  files_[Key(path)] = File{File::Kind::kDirectory, 0, {}};
}

void IconFiles::SetProcessImage(const std::string& exe_name, const std::string& path) {
  process_images_[exe_name] = path;
}

void IconFiles::SetEnvironment(const std::string& name, const std::string& value) {
  environment_[Key(name)] = value;
}

void IconFiles::SetSystem(const std::string& system_directory, bool is_64_bit) {
  system_directory_ = system_directory;
  is_64_bit_ = is_64_bit;
}

std::string IconFiles::SourceOf(platform::IconId icon) const {
  const std::lock_guard hold(lock_);
  const auto it = icons_.find(icon);
  return it == icons_.end() ? std::string() : it->second;
}

std::size_t IconFiles::LiveIcons() const {
  const std::lock_guard hold(lock_);
  return icons_.size();
}

std::size_t IconFiles::Reads() const {
  const std::lock_guard hold(lock_);
  return reads_;
}

std::vector<std::string> IconFiles::Opened() const {
  const std::lock_guard hold(lock_);
  return opened_;
}

}  // namespace sim
