// The UTF-8 / UTF-16 conversions at the edge of the wide API.

#include "platform/win32/utf.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(UtfTest, RoundTripsAndKeepsEmbeddedZeros) {
  const std::vector<std::string> texts = {
      "", "plain", std::string("a\0b\0", 4), "Ärger", "日本語", "😀 outside the BMP",
  };
  for (const std::string& text : texts) {
    EXPECT_EQ(win32::WideToUtf8(win32::Utf8ToWide(text)), text);
  }
  EXPECT_EQ(win32::Utf8ToWide("Ä😀"), std::wstring(L"\u00C4\xD83D\xDE00"));
}

TEST(UtfTest, IllFormedUtf8BecomesReplacementCharacters) {
  const std::wstring from_bad_utf8 = win32::Utf8ToWide(
      "a\xFF"
      "b\xC3");
  ASSERT_FALSE(from_bad_utf8.empty());
  EXPECT_EQ(from_bad_utf8.front(), L'a');
  EXPECT_NE(from_bad_utf8.find(L'\xFFFD'), std::wstring::npos);
  EXPECT_NE(from_bad_utf8.find(L'b'), std::wstring::npos);
}

// A name or a command holding half a surrogate pair goes back to the system as it came.
TEST(UtfTest, ALoneSurrogateSurvivesTheRoundTrip) {
  for (const std::wstring& wide : {std::wstring{L'x', static_cast<wchar_t>(0xD800), L'y'},
                                   std::wstring{static_cast<wchar_t>(0xDFFF)},
                                   std::wstring{static_cast<wchar_t>(0xDC00), L'\xD83D'}}) {
    const std::string text = win32::WideToUtf8(wide);
    EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos) << "no replacement character";
    EXPECT_EQ(win32::Utf8ToWide(text), wide);
  }
  EXPECT_EQ(win32::WideToUtf8(std::wstring{L'x', static_cast<wchar_t>(0xD800), L'y'}),
            "x\xED\xA0\x80y");
}

}  // namespace
