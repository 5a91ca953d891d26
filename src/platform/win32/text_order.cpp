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
