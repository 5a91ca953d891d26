#include <algorithm>

#include "platform/sha256.h"
#include "platform/sim/sim_file_store.h"
#include "platform/text.h"

namespace sim {
namespace {

// The path with its first prefix_size characters put in to's place.
std::string Renamed(const std::string& path, std::size_t prefix_size, const std::string& to) {
  return to + path.substr(prefix_size);
}

bool Within(const std::string& key, const std::string& folder_key) {
  return key == folder_key || (key.size() > folder_key.size() && key.starts_with(folder_key) &&
                               key[folder_key.size()] == '\\');
}

template <typename Keyed>
void RenameKeys(Keyed& keyed, const std::string& from_key, const std::string& to_key) {
  Keyed renamed;
  for (auto it = keyed.begin(); it != keyed.end();) {
    if (!Within(*it, from_key)) {
      ++it;
      continue;
    }
    renamed.insert(Renamed(*it, from_key.size(), to_key));
    it = keyed.erase(it);
  }
  keyed.insert(renamed.begin(), renamed.end());
}

template <typename Map, typename NewKey>
void RenameMap(Map& map, const std::string& from_key, NewKey new_key) {
  Map renamed;
  for (auto it = map.begin(); it != map.end();) {
    if (!Within(text::UpperAscii(it->first), from_key)) {
      ++it;
      continue;
    }
    renamed.emplace(new_key(it->first), std::move(it->second));
    it = map.erase(it);
  }
  for (auto& entry : renamed) map.insert_or_assign(entry.first, std::move(entry.second));
}

}  // namespace

bool FileStore::SameDrive(const std::string& a, const std::string& b) {
  return Key(a).substr(0, 2) == Key(b).substr(0, 2);
}

platform::FileError FileStore::Injected(Operation operation) {
  const std::size_t call = ++calls_[operation];
  const auto failure = failures_.find(operation);
  if (failure == failures_.end() || call < failure->second.from_call) return platform::kFileOk;
  if (failure->second.crash) {
    failures_.erase(failure);
    throw Crashed{};
  }
  return failure->second.error;
}

platform::FileError FileStore::ThroughLink(const std::string& path) const {
  for (std::string above = Parent(path); Key(above).size() > 2; above = Parent(above)) {
    if (reparse_points_.count(Key(above)) != 0) return platform::kFileErrorStoppedOnLink;
  }
  return platform::kFileOk;
}

std::map<std::string, std::vector<std::uint8_t>>::iterator FileStore::FindFile(
    const std::string& path) {
  return std::find_if(files_.begin(), files_.end(),
                      [&](const auto& file) { return Key(file.first) == Key(path); });
}

void FileStore::Rename(const std::string& from, const std::string& to) {
  const std::string from_key = Key(from);
  const std::string to_key = Key(to);
  RenameKeys(folders_, from_key, to_key);
  RenameKeys(reparse_points_, from_key, to_key);
  RenameKeys(streams_, from_key, to_key);
  RenameMap(spelled_, from_key,
            [&](const std::string& key) { return Renamed(key, from_key.size(), to_key); });
  for (auto& [key, spelled] : spelled_) {
    if (Within(key, to_key) && Within(Key(spelled), from_key)) {
      spelled = Renamed(spelled, from.size(), to);
    }
  }
  RenameMap(files_, from_key,
            [&](const std::string& path) { return Renamed(path, from.size(), to); });
  RenameMap(security_, from_key,
            [&](const std::string& key) { return Renamed(key, from_key.size(), to_key); });
}

platform::FileError FileStore::MoveItem(const std::string& from, const std::string& to) {
  if (const platform::FileError error = Injected(Operation::kMove); error != platform::kFileOk) {
    return error;
  }
  if (const platform::FileError error = ThroughLink(from); error != platform::kFileOk) return error;
  if (KindOf(from) == platform::PathKind::kMissing) return platform::kFileErrorNotFound;
  if (KindOf(to) != platform::PathKind::kMissing) return platform::kFileErrorAlreadyExists;
  if (Key(Parent(to)).size() > 2 && folders_.count(Key(Parent(to))) == 0) {
    return platform::kFileErrorPathNotFound;
  }
  if (denied_.count(Key(Parent(to))) != 0) return platform::kFileErrorAccessDenied;
  if (!SameDrive(from, to)) return platform::kFileErrorNotSameDevice;
  Rename(from, to);
  return platform::kFileOk;
}

platform::FileError FileStore::CopyFileBytes(const std::string& from, const std::string& to) {
  if (const platform::FileError error = Injected(Operation::kCopy); error != platform::kFileOk) {
    return error;
  }
  if (const platform::FileError error = ThroughLink(from); error != platform::kFileOk) return error;
  if (KindOf(from) != platform::PathKind::kFile) return platform::kFileErrorNotFound;
  const std::vector<std::uint8_t> bytes = FindFile(from)->second;
  return WriteNewFile(to, bytes);
}

platform::FileError FileStore::HashFile(const std::string& path, std::string& hash) {
  if (const platform::FileError error = Injected(Operation::kHash); error != platform::kFileOk) {
    return error;
  }
  if (const platform::FileError error = ThroughLink(path); error != platform::kFileOk) return error;
  const auto file = FindFile(path);
  if (file == files_.end() || reparse_points_.count(Key(path)) != 0) {
    return platform::kFileErrorNotFound;
  }
  platform::Sha256 sha;
  sha.Add(file->second.data(), file->second.size());
  hash = sha.FinishHex();
  return platform::kFileOk;
}

platform::FileError FileStore::DeleteItem(const std::string& path) {
  if (const platform::FileError error = Injected(Operation::kDelete); error != platform::kFileOk) {
    return error;
  }
  if (const platform::FileError error = ThroughLink(path); error != platform::kFileOk) return error;
  if (denied_.count(Key(Parent(path))) != 0) return platform::kFileErrorAccessDenied;
  if (reparse_points_.erase(Key(path)) != 0) return platform::kFileOk;
  if (folders_.count(Key(path)) != 0) return RemoveEmptyFolder(path);
  streams_.erase(Key(path));
  return RemoveFile(path);
}

platform::FileError FileStore::HasAlternateStreams(const std::string& path, bool& has) {
  if (KindOf(path) != platform::PathKind::kFile) return platform::kFileErrorNotFound;
  has = streams_.count(Key(path)) != 0;
  return platform::kFileOk;
}

platform::FileError FileStore::AppendFlushed(const std::string& path, std::string_view bytes) {
  if (const platform::FileError error = Injected(Operation::kAppend); error != platform::kFileOk) {
    return error;
  }
  const auto file = FindFile(path);
  if (file == files_.end()) return platform::kFileErrorNotFound;
  file->second.insert(file->second.end(), bytes.begin(), bytes.end());
  return platform::kFileOk;
}

void FileStore::ChangeFile(const std::string& path, std::vector<std::uint8_t> bytes) {
  const auto file = FindFile(path);
  if (file != files_.end()) file->second = std::move(bytes);
}

}  // namespace sim
