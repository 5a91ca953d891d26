#pragma once

// ASCII-only case folding for the substitutes' name comparisons. Bytes outside a..z / A..Z
// compare as themselves (unsigned), so UTF-8 text is compared byte by byte.

#include <algorithm>
#include <string_view>

namespace sim {

enum class Fold { kToLower, kToUpper };

inline unsigned char FoldAscii(char c, Fold fold) {
  const auto byte = static_cast<unsigned char>(c);
  if (fold == Fold::kToLower && byte >= 'A' && byte <= 'Z') return byte - 'A' + 'a';
  if (fold == Fold::kToUpper && byte >= 'a' && byte <= 'z') return byte - 'a' + 'A';
  return byte;
}

// Negative, zero or positive; a text that is a prefix of the other sorts first.
inline int CompareFolded(std::string_view a, std::string_view b, Fold fold) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const int diff = FoldAscii(a[i], fold) - FoldAscii(b[i], fold);
    if (diff != 0) return diff < 0 ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// Map ordering for names that ignore ASCII case, folding to lower case as Wine's registry
// server does when it keeps subkeys sorted.
struct CaselessLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    return CompareFolded(a, b, Fold::kToLower) < 0;
  }
};

}  // namespace sim
