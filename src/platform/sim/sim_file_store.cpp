#include "platform/sim/sim_file_store.h"

#include <algorithm>

#include "platform/text.h"

namespace sim {

std::string FileStore::Key(const std::string& path) {
  std::string key = text::UpperAscii(path);
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

std::string FileStore::Parent(const std::string& path) {
  const std::size_t cut = path.find_last_of('\\');
  return cut == std::string::npos ? std::string{} : path.substr(0, cut);
}

platform::FileError FileStore::CreateFolders(const std::string& path) {
  // A drive's root ("C:") is always there.
  if (Key(path).size() <= 2) return platform::kFileOk;
  if (folders_.count(Key(path)) != 0) return platform::kFileOk;
  if (denied_.count(Key(path)) != 0) return platform::kFileErrorAccessDenied;
  if (const platform::FileError error = CreateFolders(Parent(path)); error != platform::kFileOk) {
    return error;
  }
  folders_.insert(Key(path));
  spelled_[Key(path)] = path;
  return platform::kFileOk;
}

platform::FileError FileStore::WriteNewFile(const std::string& path,
                                            const std::vector<std::uint8_t>& bytes) {
  if (const platform::FileError error = Injected(Operation::kWrite); error != platform::kFileOk) {
    return error;
  }
  const std::string folder = Key(Parent(path));
  // A drive's root, the current one's ("\\x") included, is always there.
  if (folder.size() > 2 && folders_.count(folder) == 0) return platform::kFileErrorPathNotFound;
  if (denied_.count(folder) != 0) return platform::kFileErrorAccessDenied;
  for (const auto& file : files_) {
    if (Key(file.first) == Key(path)) return platform::kFileErrorExists;
  }
  files_[path] = bytes;
  if (corrupt_reads_ && !files_[path].empty()) files_[path].back() ^= 0x01;
  return platform::kFileOk;
}

platform::FileError FileStore::ReadWholeFile(const std::string& path, std::size_t limit,
                                             std::vector<std::uint8_t>& bytes) {
  for (const auto& file : files_) {
    if (Key(file.first) != Key(path)) continue;
    if (file.second.size() > limit) return platform::kFileErrorTooLarge;
    bytes = file.second;
    return platform::kFileOk;
  }
  return platform::kFileErrorNotFound;
}

platform::FileError FileStore::RemoveFile(const std::string& path) {
  for (auto it = files_.begin(); it != files_.end(); ++it) {
    if (Key(it->first) != Key(path)) continue;
    files_.erase(it);
    return platform::kFileOk;
  }
  return platform::kFileErrorNotFound;
}

platform::FileError FileStore::RemoveEmptyFolder(const std::string& path) {
  if (folders_.count(Key(path)) == 0) return platform::kFileErrorNotFound;
  std::vector<platform::FolderItem> items;
  if (ListFolder(path, 1, items) != platform::kFileOk || !items.empty()) {
    return platform::kFileErrorNotEmpty;
  }
  folders_.erase(Key(path));
  spelled_.erase(Key(path));
  return platform::kFileOk;
}

platform::FileError FileStore::MoveReplacing(const std::string& from, const std::string& to) {
  const auto moved = std::find_if(files_.begin(), files_.end(),
                                  [&](const auto& file) { return Key(file.first) == Key(from); });
  if (moved == files_.end()) return platform::kFileErrorNotFound;
  if (denied_.count(Key(Parent(to))) != 0) return platform::kFileErrorAccessDenied;
  std::vector<std::uint8_t> bytes = std::move(moved->second);
  files_.erase(moved);
  RemoveFile(to);
  files_[to] = std::move(bytes);
  return platform::kFileOk;
}

platform::PathKind FileStore::KindOf(const std::string& path) {
  if (reparse_points_.count(Key(path)) != 0) return platform::PathKind::kReparsePoint;
  if (Key(path).size() <= 2 || folders_.count(Key(path)) != 0) return platform::PathKind::kFolder;
  for (const auto& file : files_) {
    if (Key(file.first) == Key(path)) return platform::PathKind::kFile;
  }
  return platform::PathKind::kMissing;
}

std::string FileStore::SecurityText(const std::string& path) {
  const auto set = security_.find(Key(path));
  if (set != security_.end()) return set->second;
  return KindOf(path) == platform::PathKind::kMissing ? std::string{}
                                                      : std::string(kDefaultSecurity);
}

platform::FileError FileStore::CreateSecuredFolder(const std::string& path,
                                                   const std::string& security) {
  if (KindOf(path) != platform::PathKind::kMissing) return platform::kFileErrorAlreadyExists;
  if (denied_.count(Key(path)) != 0) return platform::kFileErrorAccessDenied;
  if (Key(Parent(path)).size() > 2 && folders_.count(Key(Parent(path))) == 0) {
    return platform::kFileErrorPathNotFound;
  }
  folders_.insert(Key(path));
  spelled_[Key(path)] = path;
  security_[Key(path)] = reported_security_.value_or(security);
  return platform::kFileOk;
}

std::vector<std::string> FileStore::DefaultKnownFolders() {
  std::vector<std::string> folders;
  std::string_view rest = kKnownFolders;
  while (!rest.empty()) {
    const std::size_t bar = rest.find('|');
    folders.emplace_back(rest.substr(0, bar));
    if (bar == std::string_view::npos) break;
    rest.remove_prefix(bar + 1);
  }
  return folders;
}

platform::FileError FileStore::ListFolder(const std::string& path, std::size_t limit,
                                          std::vector<platform::FolderItem>& items) {
  if (KindOf(path) != platform::PathKind::kFolder) return platform::kFileErrorPathNotFound;
  const std::string parent = Key(path);
  std::map<std::string, platform::FolderItem> found;  // by Key: one item a name
  for (const std::string& folder : folders_) {
    if (Parent(folder) != parent) continue;
    const auto spelled = spelled_.find(folder);
    const std::string& name = spelled == spelled_.end() ? folder : spelled->second;
    found[folder] = {name.substr(name.find_last_of('\\') + 1), platform::PathKind::kFolder, 0};
  }
  for (const std::string& point : reparse_points_) {
    if (Parent(point) == parent) {
      found[point] = {point.substr(point.find_last_of('\\') + 1), platform::PathKind::kReparsePoint,
                      0};
    }
  }
  for (const auto& [file, bytes] : files_) {
    if (Key(Parent(file)) != parent) continue;
    found[Key(file)] = {file.substr(file.find_last_of('\\') + 1), platform::PathKind::kFile,
                        bytes.size()};
  }
  for (auto& [key, item] : found) {
    if (items.size() >= limit) return platform::kFileErrorTooLarge;
    items.push_back(std::move(item));
  }
  return platform::kFileOk;
}

std::optional<std::string> FileStore::LongPath(const std::string& path) {
  const auto known = short_paths_.find(Key(path));
  if (known != short_paths_.end()) return known->second;
  if (KindOf(path) == platform::PathKind::kMissing || path.find('~') != std::string::npos) {
    return std::nullopt;
  }
  return path;
}

void FileStore::PutFolder(const std::string& path, std::string security) {
  CreateFolders(path);
  SetSecurity(path, std::move(security));
}

}  // namespace sim
