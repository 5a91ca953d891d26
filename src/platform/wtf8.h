#pragma once

// The program's text is UTF-8; the system's is UTF-16, which may hold a surrogate without its
// partner. Such a unit is kept as the three bytes UTF-8 would give its code point (WTF-8), so
// that a command or a process name goes back to the system exactly as it came: well-formed text
// is plain UTF-8 either way. Only bytes that are no WTF-8 at all become U+FFFD.

#include <cstdint>
#include <string>
#include <string_view>

namespace text {

namespace wtf8_detail {

inline constexpr char32_t kReplacement = 0xFFFD;
inline constexpr char32_t kFirstHigh = 0xD800;
inline constexpr char32_t kFirstLow = 0xDC00;
inline constexpr char32_t kLastLow = 0xDFFF;
inline constexpr char32_t kFirstSupplementary = 0x10000;

inline bool IsHigh(char32_t unit) {
  return unit >= kFirstHigh && unit < kFirstLow;
}
inline bool IsLow(char32_t unit) {
  return unit >= kFirstLow && unit <= kLastLow;
}

void AppendCodePoint(std::string& out, char32_t code_point);

// The code point that starts at text[at] and how many bytes it takes. Ill-formed bytes give
// U+FFFD for their longest run that could have begun a character (at least one byte).
struct Decoded {
  char32_t code_point;
  std::size_t length;
};
Decoded DecodeAt(std::string_view text, std::size_t at);

}  // namespace wtf8_detail

// UTF-16 (any 16-bit unit type: wchar_t on Windows, char16_t elsewhere) to WTF-8. Zero units
// are kept.
template <typename Unit>
std::string Utf16ToWtf8(std::basic_string_view<Unit> units) {
  using namespace wtf8_detail;
  std::string out;
  out.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t code_point = static_cast<std::uint16_t>(units[i]);
    if (IsHigh(code_point) && i + 1 < units.size()) {
      const char32_t next = static_cast<std::uint16_t>(units[i + 1]);
      if (IsLow(next)) {
        code_point = kFirstSupplementary + ((code_point - kFirstHigh) << 10) + (next - kFirstLow);
        ++i;
      }
    }
    AppendCodePoint(out, code_point);
  }
  return out;
}

// WTF-8 to UTF-16. A surrogate's three bytes give that unit back; two such in a row that make
// a pair give the pair, as joining the two UTF-16 texts would.
template <typename Unit>
std::basic_string<Unit> Wtf8ToUtf16(std::string_view text) {
  using namespace wtf8_detail;
  std::basic_string<Unit> out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const Decoded decoded = DecodeAt(text, at);
    at += decoded.length;
    if (decoded.code_point < kFirstSupplementary) {
      out += static_cast<Unit>(decoded.code_point);
      continue;
    }
    const char32_t offset = decoded.code_point - kFirstSupplementary;
    out += static_cast<Unit>(kFirstHigh + (offset >> 10));
    out += static_cast<Unit>(kFirstLow + (offset & 0x3FF));
  }
  return out;
}

}  // namespace text
