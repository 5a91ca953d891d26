#include "platform/sim/sim_text_order.h"

#include "platform/sim/sim_ascii.h"
#include "platform/wtf8.h"

namespace sim {
namespace {

// The upper-case partner of a code point, in the scripts this stand-in folds.
char32_t UpperOf(char32_t c) {
  const auto in = [c](char32_t first, char32_t last) { return c >= first && c <= last; };
  if (in(U'a', U'z')) return c - U'a' + U'A';
  // Latin-1: à..þ but ÷ (no letter); ß has no one-letter capital.
  if (in(U'\u00E0', U'\u00FE') && c != U'\u00F7') return c - 0x20;
  // Latin Extended-A pairs capital, small from Ā to ķ (but for İ and ı), from Ĺ to ň (small
  // even), from Ŋ to ŷ.
  if (in(U'\u0100', U'\u012F') || in(U'\u0132', U'\u0137') || in(U'\u014A', U'\u0177'))
    return c & ~char32_t{1};
  if (in(U'\u0139', U'\u0148') && (c & 1) == 0) return c - 1;
  // Greek: α..ω but final sigma, which folds with σ.
  if (c == U'\u03C2') return U'\u03A3';
  if (in(U'\u03B1', U'\u03C9')) return c - 0x20;
  // Cyrillic: а..я, then ѐ..џ.
  if (in(U'\u0430', U'\u044F')) return c - 0x20;
  if (in(U'\u0450', U'\u045F')) return c - 0x50;
  return c;
}

}  // namespace

std::string CaselessOrder::FoldCase(std::string_view text) const {
  using text::wtf8_detail::DecodeAt;
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const auto decoded = DecodeAt(text, at);
    // Ill-formed bytes stay as they were, so the fold changes no text but its letters.
    const bool whole = decoded.code_point != text::wtf8_detail::kReplacement ||
                       text.substr(at, decoded.length) == "\xEF\xBF\xBD";
    if (whole) {
      text::wtf8_detail::AppendCodePoint(out, UpperOf(decoded.code_point));
    } else {
      out.append(text.substr(at, decoded.length));
    }
    at += decoded.length;
  }
  return out;
}

int CaselessOrder::Compare(const std::string& a, const std::string& b) const {
  return CompareFolded(a, b, Fold::kToUpper);
}

}  // namespace sim
