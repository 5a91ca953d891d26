#include "app/leftovers/line_text.h"

#include <charconv>
#include <cstdio>

namespace app {
namespace {

constexpr char kEscape = '\\';
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
constexpr int kHexBase = 16;
constexpr std::size_t kHexEscapeLength = 4;  // "\xHH"
constexpr std::size_t kTimeLength = 19;      // "yyyy-mm-dd hh:mm:ss"

bool IsControl(unsigned char c) {
  return c < kFirstPrintable || c == kDelete;
}

std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

}  // namespace

std::string EscapedLineText(std::string_view value) {
  std::string out;
  for (const char c : value) {
    const auto unit = static_cast<unsigned char>(c);
    if (c == kEscape) {
      out += "\\\\";
    } else if (IsControl(unit)) {
      char hex[kHexEscapeLength + 1];
      std::snprintf(hex, sizeof hex, "\\x%02X", unit);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::string> UnescapedLineText(std::string_view value) {
  std::string out;
  for (std::size_t at = 0; at < value.size(); ++at) {
    if (value[at] != kEscape) {
      out += value[at];
      continue;
    }
    if (value.substr(at, 2) == "\\\\") {
      out += kEscape;
      ++at;
      continue;
    }
    if (value.size() - at < kHexEscapeLength || value[at + 1] != 'x') return std::nullopt;
    const auto high = HexDigit(value[at + 2]);
    const auto low = HexDigit(value[at + 3]);
    if (!high || !low) return std::nullopt;
    const auto unit = static_cast<unsigned char>(*high * kHexBase + *low);
    if (!IsControl(unit)) return std::nullopt;  // one spelling each
    out += static_cast<char>(unit);
    at += kHexEscapeLength - 1;
  }
  return out;
}

std::string TimeText(const platform::LocalTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year % 10000, t.month % 100,
                t.day % 100, t.hour % 100, t.minute % 100, t.second % 100);
  return text;
}

std::optional<platform::LocalTime> ReadTimeText(std::string_view text) {
  if (text.size() != kTimeLength) return std::nullopt;
  platform::LocalTime t;
  const auto digits = [&](std::size_t at, std::size_t length, int& field) {
    const char* first = text.data() + at;
    const auto [end, error] = std::from_chars(first, first + length, field);
    return error == std::errc() && end == first + length;
  };
  const bool read = digits(0, 4, t.year) && digits(5, 2, t.month) && digits(8, 2, t.day) &&
                    digits(11, 2, t.hour) && digits(14, 2, t.minute) && digits(17, 2, t.second);
  constexpr int kLastMonth = 12, kLastDay = 31, kLastHour = 23, kLastMinute = 59, kLastSecond = 60;
  if (!read || TimeText(t) != text || t.month < 1 || t.month > kLastMonth || t.day < 1 ||
      t.day > kLastDay || t.hour > kLastHour || t.minute > kLastMinute || t.second > kLastSecond) {
    return std::nullopt;
  }
  return t;
}

}  // namespace app
