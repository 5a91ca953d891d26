#include "app/leftovers/line_text.h"

#include <cstdio>

namespace app {
namespace {

constexpr char kEscape = '\\';
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
constexpr int kHexBase = 16;
constexpr std::size_t kHexEscapeLength = 4;  // "\xHH"

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

}  // namespace app
