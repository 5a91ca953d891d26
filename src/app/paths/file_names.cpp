#include "app/paths/file_names.h"

#include <algorithm>
#include <array>

#include "platform/text.h"

namespace app {
namespace {

constexpr std::string_view kSeparators = "\\/";
constexpr char kStream = ':';
constexpr char kDot = '.';
constexpr std::string_view kDotsAndBlanks = ". ";
constexpr std::string_view kBlanks = " ";
constexpr std::array<std::string_view, 2> kBatchExtensions = {".BAT", ".CMD"};
constexpr std::array<std::string_view, 6> kDeviceNames = {"CON", "PRN",    "AUX",
                                                          "NUL", "CONIN$", "CONOUT$"};
constexpr std::array<std::string_view, 2> kNumberedDevices = {"COM", "LPT"};
// The numbers of the numbered devices: a digit, or a superscript one, two or three in UTF-8.
constexpr std::array<std::string_view, 13> kDeviceNumbers = {
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};

bool IsDriveLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The text after the last separator, or after a drive's "X:" when there is none.
std::string_view LastPart(std::string_view path) {
  const std::size_t separator = path.find_last_of(kSeparators);
  if (separator != std::string_view::npos) return path.substr(separator + 1);
  if (path.size() >= 2 && path[1] == kStream && IsDriveLetter(path[0])) return path.substr(2);
  return path;
}

// The text without the characters of the set at its end.
std::string_view TrimEnd(std::string_view text, std::string_view set) {
  const std::size_t last = text.find_last_not_of(set);
  return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

template <std::size_t N>
bool IsOneOf(std::string_view text, const std::array<std::string_view, N>& names) {
  return std::find(names.begin(), names.end(), text) != names.end();
}

}  // namespace

std::string_view FolderOf(std::string_view path) {
  const std::size_t cut = path.find_last_of(kSeparators);
  if (cut == std::string_view::npos) return {};
  if (cut == 2 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, cut);
}

std::string_view FileNameOf(std::string_view path) {
  const std::size_t cut = path.find_last_of(kSeparators);
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string_view OpenedFileName(std::string_view path) {
  const std::string_view name = LastPart(path);
  return TrimEnd(name.substr(0, std::min(name.find(kStream), name.size())), kDotsAndBlanks);
}

bool IsBatchFile(std::string_view path) {
  return IsOneOf(text::UpperAscii(text::Extension(OpenedFileName(path))), kBatchExtensions);
}

bool IsDeviceName(std::string_view path) {
  // The name before its extension, without the blanks that end it: "COM1 .exe" opens COM1.
  const std::string_view opened = OpenedFileName(path);
  const std::string name = text::UpperAscii(
      TrimEnd(opened.substr(0, std::min(opened.find(kDot), opened.size())), kBlanks));
  if (IsOneOf(name, kDeviceNames)) return true;
  constexpr std::size_t kPrefix = 3;
  return name.size() > kPrefix &&
         IsOneOf(std::string_view(name).substr(0, kPrefix), kNumberedDevices) &&
         IsOneOf(std::string_view(name).substr(kPrefix), kDeviceNumbers);
}

// Every byte but a continuation byte starts a unit, and a four-byte form is a pair.
std::size_t Utf16Length(std::string_view text) {
  std::size_t units = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) != 0x80) ++units;
    if (byte >= 0xF0) ++units;
  }
  return units;
}

}  // namespace app
