#include "app/copies/copy_file_name.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "app/paths/file_names.h"
#include "platform/launcher.h"
#include "platform/wtf8.h"

namespace app {
namespace {

// Where the copies of removed entries go, under the user's local application data folder.
constexpr std::string_view kCopiesFolder = "Quillon\\Tapwise Uninstaller\\Removed entries";
constexpr std::string_view kExtension = ".reg";
constexpr std::string_view kForbidden = "<>:\"/\\|?*";
constexpr std::string_view kTrimmed = " .";
constexpr char kReplacement = '_';

std::string Replaced(std::string_view name) {
  std::string safe;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    const bool forbidden = byte < 0x20 || byte == 0x7F || kForbidden.find(c) != std::string::npos;
    safe += forbidden ? kReplacement : c;
  }
  return safe;
}

std::string_view Trimmed(std::string_view name) {
  const std::size_t first = name.find_first_not_of(kTrimmed);
  if (first == std::string_view::npos) return {};
  const std::size_t last = name.find_last_not_of(kTrimmed);
  return name.substr(first, last - first + 1);
}

// The name cut to at most units UTF-16 units, at a character's boundary.
std::string CutTo(const std::string& name, std::size_t units) {
  std::string cut;
  std::size_t used = 0;
  for (std::size_t at = 0; at < name.size();) {
    const text::wtf8_detail::Decoded decoded = text::wtf8_detail::DecodeAt(name, at);
    const std::size_t width = decoded.code_point >= text::wtf8_detail::kFirstSupplementary ? 2 : 1;
    if (used + width > units) break;
    cut.append(name, at, decoded.length);
    used += width;
    at += decoded.length;
  }
  return cut;
}

}  // namespace

std::string TimeInFileName(const platform::LocalTime& t, int number) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d-%02d-%02d", t.year % 10000, t.month % 100,
                t.day % 100, t.hour % 100, t.minute % 100, t.second % 100);
  if (number <= 1) return text;
  return std::string(text) + " (" + std::to_string(number) + ")";
}

std::string CopyFolder(const std::string& local_app_data) {
  if (local_app_data.empty()) return {};
  std::string folder = local_app_data;
  if (folder.back() != '\\') folder += '\\';
  return folder + std::string(kCopiesFolder);
}

bool IsPlainCopyName(std::string_view name) {
  if (name.size() <= kExtension.size() || !name.ends_with(kExtension)) return false;
  if (Utf16Length(name) >= kMaxPathUnits) return false;
  return Replaced(name) == name && Trimmed(name) == name && !IsDeviceName(name);
}

std::string CopyFilePath(const std::string& folder, const std::string& display_name,
                         const platform::LocalTime& time, int number) {
  std::string name(Trimmed(Replaced(display_name)));
  if (name.empty()) name = std::string(1, kReplacement);
  if (IsDeviceName(name)) name.insert(name.begin(), kReplacement);
  const std::string prefix = folder + "\\";
  std::string suffix(" ");
  suffix.append(TimeInFileName(time, number)).append(kExtension);
  const std::size_t fixed = Utf16Length(prefix) + Utf16Length(suffix);
  if (fixed + 1 >= kMaxPathUnits) return {};
  std::string fitted(Trimmed(CutTo(name, kMaxPathUnits - 1 - fixed)));
  if (fitted.empty()) fitted = std::string(1, kReplacement);
  return prefix + fitted + suffix;
}

std::string FreeTimedName(platform::FileStore& files, const std::string& parent,
                          const platform::LocalTime& now) {
  if (parent.empty()) return {};
  for (int number = 1; number <= kMaxCopyNumber; ++number) {
    std::string name = TimeInFileName(now, number);
    if (files.KindOf(platform::InDirectory(parent, name)) == platform::PathKind::kMissing) {
      return name;
    }
  }
  return {};
}

std::optional<std::string> NewTimedFolder(platform::FileStore& files, const std::string& parent,
                                          const platform::LocalTime& now) {
  const std::string name = FreeTimedName(files, parent, now);
  if (name.empty()) return std::nullopt;
  const std::string folder = platform::InDirectory(parent, name);
  if (files.CreateFolders(folder) != platform::kFileOk) return std::nullopt;
  return folder;
}

}  // namespace app
