#include "platform/win32/text_order.h"

#include <windows.h>

#include "platform/win32/utf.h"

namespace win32 {

int TextOrder::Compare(const std::string& a, const std::string& b) const {
  const std::wstring wide_a = Utf8ToWide(a);
  const std::wstring wide_b = Utf8ToWide(b);
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

}  // namespace win32
