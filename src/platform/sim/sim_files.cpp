#include "platform/sim/sim_files.h"

#include "platform/text.h"

namespace sim {
namespace {

// "*" matches any run of characters and "?" any one, as in a file name pattern.
bool Matches(std::string_view pattern, std::string_view name) {
  if (pattern.empty()) return name.empty();
  if (pattern.front() == '*') {
    for (std::size_t skip = 0; skip <= name.size(); ++skip) {
      if (Matches(pattern.substr(1), name.substr(skip))) return true;
    }
    return false;
  }
  if (name.empty()) return false;
  if (pattern.front() != '?' && pattern.front() != name.front()) return false;
  return Matches(pattern.substr(1), name.substr(1));
}

// Wildcards count in the last part of a path only; the directory is taken literally.
bool PathMatches(std::string_view pattern, std::string_view path) {
  const std::size_t cut = pattern.rfind('\\') + 1;  // 0 when there is no backslash
  if (path.size() < cut || path.substr(0, cut) != pattern.substr(0, cut)) return false;
  if (path.find('\\', cut) != std::string_view::npos) return false;
  return Matches(pattern.substr(cut), path.substr(cut));
}

}  // namespace

std::optional<platform::Date> FileTable::LastWriteDate(const std::string& path) {
  const std::string pattern = text::UpperAscii(path);
  const platform::MutexLock lock(mutex_);
  queries_.push_back(path);
  for (const auto& [stored, entry] : entries_) {
    if (!PathMatches(pattern, stored)) continue;
    if (entry.directory) return std::nullopt;
    return entry.date;
  }
  return std::nullopt;
}

std::uint32_t FileTable::FindFile(const std::string& path) {
  const platform::MutexLock lock(mutex_);
  checked_.push_back(path);
  const std::string upper = text::UpperAscii(path);
  for (const auto& [folder, error] : failing_) {
    if (upper.starts_with(folder) && upper.size() > folder.size() && upper[folder.size()] == '\\') {
      return error;
    }
  }
  const auto found = entries_.find(upper);
  if (found == entries_.end() || found->second.directory) return platform::kFileNotFound;
  return platform::kFileFound;
}

void FileTable::FailUnder(const std::string& folder, std::uint32_t error) {
  const platform::MutexLock lock(mutex_);
  failing_[text::UpperAscii(folder)] = error;
}

platform::DriveType FileTable::DriveTypeOf(const std::string& root) {
  const platform::MutexLock lock(mutex_);
  const auto found = drives_.find(text::UpperAscii(root));
  return found == drives_.end() ? platform::DriveType::kFixed : found->second;
}

void FileTable::SetDriveType(const std::string& root, platform::DriveType type) {
  const platform::MutexLock lock(mutex_);
  drives_[text::UpperAscii(root)] = type;
}

void FileTable::AddFile(const std::string& path, platform::Date date) {
  const bool fits = date.year >= kFirstDosYear && date.year <= kLastDosYear;
  const platform::MutexLock lock(mutex_);
  entries_[text::UpperAscii(path)] = Entry{false, fits ? std::optional(date) : std::nullopt};
}

void FileTable::AddDirectory(const std::string& path) {
  const platform::MutexLock lock(mutex_);
  entries_[text::UpperAscii(path)] = Entry{true, std::nullopt};
}

void FileTable::AddUnconvertibleFile(const std::string& path) {
  const platform::MutexLock lock(mutex_);
  entries_[text::UpperAscii(path)] = Entry{false, std::nullopt};
}

void FileTable::Remove(const std::string& path) {
  const platform::MutexLock lock(mutex_);
  entries_.erase(text::UpperAscii(path));
}

std::vector<std::string> FileTable::Queries() const {
  const platform::MutexLock lock(mutex_);
  return queries_;
}

std::vector<std::string> FileTable::Checked() const {
  const platform::MutexLock lock(mutex_);
  return checked_;
}

}  // namespace sim
