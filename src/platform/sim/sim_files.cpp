#include "platform/sim/sim_files.h"

#include "platform/text.h"

namespace sim {

std::optional<platform::Date> FileTable::LastWriteDate(const std::string& path) {
  queries_.push_back(path);
  const auto it = entries_.find(text::UpperAscii(path));
  if (it == entries_.end() || it->second.directory) return std::nullopt;
  return it->second.date;
}

void FileTable::AddFile(const std::string& path, platform::Date date) {
  const bool fits = date.year >= kFirstDosYear && date.year <= kLastDosYear;
  entries_[text::UpperAscii(path)] = Entry{false, fits ? std::optional(date) : std::nullopt};
}

void FileTable::AddDirectory(const std::string& path) {
  entries_[text::UpperAscii(path)] = Entry{true, std::nullopt};
}

void FileTable::AddUnconvertibleFile(const std::string& path) {
  entries_[text::UpperAscii(path)] = Entry{false, std::nullopt};
}

void FileTable::Remove(const std::string& path) {
  entries_.erase(text::UpperAscii(path));
}

}  // namespace sim
