#include "platform/win32/text_order.h"

#include <windows.h>

#include "platform/win32/utf.h"

namespace win32 {
namespace {

// The wide texts compared as the list control does; a and b are the same texts in UTF-8.
int CompareWide(const std::wstring& wide_a, const std::wstring& wide_b, const std::string& a,
                const std::string& b) {
  switch (::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wide_a.c_str(), -1, wide_b.c_str(),
                           -1)) {
    case CSTR_LESS_THAN:
      return -1;
    case CSTR_EQUAL:
      return 0;
    case CSTR_GREATER_THAN:
      return 1;
    default:
      // Only invalid arguments fail; a byte order keeps the result a consistent order.
      return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
  }
}

}  // namespace

std::string TextOrder::FoldCase(std::string_view text) const {
  std::wstring wide = Utf8ToWide(text);
  if (wide.empty()) return {};
  // Upper case maps each unit to one unit, so the text keeps its length; linguistic casing
  // follows the locale where it differs (the Turkish dotted I).
  const int length = static_cast<int>(wide.size());
  std::wstring folded(wide.size(), L'\0');
  const int written = ::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING,
                                     wide.c_str(), length, folded.data(), length);
  // Only invalid arguments fail; the text then stays as it is, which still matches itself.
  if (written != length) return std::string(text);
  return WideToUtf8(folded);
}

int TextOrder::Compare(const std::string& a, const std::string& b) const {
  return CompareWide(Utf8ToWide(a), Utf8ToWide(b), a, b);
}

std::vector<std::size_t> TextOrder::StableOrder(
    const std::vector<const std::string*>& texts) const {
  std::vector<std::wstring> wide;
  wide.reserve(texts.size());
  for (const std::string* text : texts) wide.push_back(Utf8ToWide(*text));
  return platform::StableOrderBy(texts.size(), [&](std::size_t a, std::size_t b) {
    return CompareWide(wide[a], wide[b], *texts[a], *texts[b]) < 0;
  });
}

}  // namespace win32
