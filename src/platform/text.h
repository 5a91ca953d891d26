#pragma once

// Text operations with the program's byte semantics: 1-based positions, ASCII-only case
// mapping, exact byte equality. Text inside the program is UTF-8.

#include <algorithm>
#include <string>
#include <string_view>

namespace text {

// 1-based position of the leftmost occurrence of needle in haystack; 0 when absent or when
// needle is empty.
inline std::size_t Pos(std::string_view needle, std::string_view haystack) {
  if (needle.empty()) return 0;
  const auto at = haystack.find(needle);
  return at == std::string_view::npos ? 0 : at + 1;
}

// Maps a..z to A..Z and leaves every other byte alone.
inline std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && UpperAscii(a) == UpperAscii(b);
}

// The extension of a file name: from its last dot to the end, dot included, provided no
// backslash or colon follows that dot; empty otherwise.
inline std::string_view Extension(std::string_view name) {
  const auto at = name.find_last_of(".\\:");
  if (at == std::string_view::npos || name[at] != '.') return {};
  return name.substr(at);
}

// Text before the first occurrence of separator (all of it when absent) and after it
// (empty when absent).
inline std::string_view Before(std::string_view s, std::string_view separator) {
  return s.substr(0, std::min(s.find(separator), s.size()));
}
inline std::string_view After(std::string_view s, std::string_view separator) {
  const auto at = s.find(separator);
  return at == std::string_view::npos ? std::string_view{} : s.substr(at + separator.size());
}

// Doubles every "&" so that a menu shows the text exactly instead of taking "&" as an
// access-key mark.
inline std::string EscapeAccessKeys(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

// The caption as a menu shows it: "&&" is one "&", and a single "&" (the access-key mark) is
// not drawn.
inline std::string ShownCaption(std::string_view caption) {
  std::string out;
  out.reserve(caption.size());
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      out += caption[i];
    } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
      out += '&';
      ++i;
    }
  }
  return out;
}

}  // namespace text
