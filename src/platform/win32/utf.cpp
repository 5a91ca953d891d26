#include "platform/win32/utf.h"

#include "platform/wtf8.h"

namespace win32 {

std::wstring Utf8ToWide(std::string_view utf8) {
  return text::Wtf8ToUtf16<wchar_t>(utf8);
}

std::string WideToUtf8(std::wstring_view wide) {
  return text::Utf16ToWtf8(wide);
}

}  // namespace win32
