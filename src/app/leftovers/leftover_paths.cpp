#include "app/leftovers/leftover_paths.h"

#include "platform/text.h"

namespace app {
namespace {

constexpr std::string_view kDriveRoot = ":\\";
constexpr std::size_t kRootLength = 3;  // "C:\"

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsDriveLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "NAME~1", "PROGRA~2.TXT": a tilde followed by a digit.
bool LooksShort(std::string_view part) {
  for (std::size_t at = part.find('~'); at != std::string_view::npos; at = part.find('~', at + 1)) {
    if (at + 1 < part.size() && part[at + 1] >= '0' && part[at + 1] <= '9') return true;
  }
  return false;
}

std::string_view WithoutTrailingDotsAndBlanks(std::string_view part) {
  while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.remove_suffix(1);
  return part;
}

}  // namespace

std::optional<std::string> NormalPath(std::string_view path) {
  if (path.size() < kRootLength || !IsDriveLetter(path[0]) || path[1] != ':' ||
      !IsSeparator(path[2])) {
    return std::nullopt;
  }
  std::vector<std::string_view> parts;
  std::size_t at = kRootLength;
  while (at <= path.size()) {
    std::size_t end = at;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    const std::string_view part = path.substr(at, end - at);
    at = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (parts.empty()) return std::nullopt;
      parts.pop_back();
      continue;
    }
    const std::string_view kept = WithoutTrailingDotsAndBlanks(part);
    if (kept.empty() || LooksShort(kept)) return std::nullopt;
    parts.push_back(kept);
  }
  std::string normal{static_cast<char>(path[0] & ~0x20), ':'};
  normal += '\\';
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i != 0) normal += '\\';
    normal += parts[i];
  }
  return normal;
}

bool SamePath(std::string_view a, std::string_view b) {
  return text::EqualsIgnoringAsciiCase(a, b);
}

bool IsInside(std::string_view inner, std::string_view outer) {
  if (inner.size() <= outer.size()) return false;
  if (!SamePath(inner.substr(0, outer.size()), outer)) return false;
  // "C:\" ends in its separator; every other folder is followed by one.
  return outer.ends_with(kDriveRoot) || inner[outer.size()] == '\\';
}

std::vector<std::string> PathParts(std::string_view normal) {
  std::vector<std::string> parts;
  if (normal.size() <= kRootLength) return parts;
  std::string_view rest = normal.substr(kRootLength);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\\');
    parts.emplace_back(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return parts;
}

}  // namespace app
