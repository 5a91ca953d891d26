#pragma once

// Conversions between the program's text and the UTF-16 of the wide Win32 API. Both take
// explicit lengths, so embedded zeros survive. A surrogate without its partner survives too
// (WTF-8, platform/wtf8.h); bytes that are no WTF-8 become U+FFFD, never a failure.

#include <string>
#include <string_view>

namespace win32 {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace win32
