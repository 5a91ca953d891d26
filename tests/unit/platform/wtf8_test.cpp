// The program's text and the system's UTF-16: every unit survives the round trip, a lone
// surrogate included; only bytes that are no WTF-8 become U+FFFD.

#include "platform/wtf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Wtf8, EveryUtf16TextSurvivesTheRoundTrip) {
  const struct {
    std::u16string units;
    std::string bytes;
  } cases[] = {
      {u"plain", "plain"},
      {std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
      {u"\u00E9\u20AC", "\xC3\xA9\xE2\x82\xAC"},
      {u"\U0001F680", "\xF0\x9F\x9A\x80"},            // a pair is one code point, four bytes
      {u"x\xD800y", "x\xED\xA0\x80y"},                // a lone high surrogate
      {u"\xDC00", "\xED\xB0\x80"},                    // a lone low one
      {u"\xDFFF\xD800", "\xED\xBF\xBF\xED\xA0\x80"},  // low before high: no pair
      {u"\xD800\xD800\xDC00", "\xED\xA0\x80\xF0\x90\x80\x80"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text::Utf16ToWtf8(std::u16string_view(c.units)), c.bytes);
    EXPECT_EQ(text::Wtf8ToUtf16<char16_t>(c.bytes), c.units) << c.bytes;
  }
}

TEST(Wtf8, BytesThatAreNoWtf8BecomeReplacementCharacters) {
  const struct {
    std::string bytes;
    std::u16string units;
  } cases[] = {
      {"a\xFF"
       "b",
       u"a\xFFFD"
       "b"},
      {"\xC0\x80", u"\xFFFD\xFFFD"},                      // an overlong zero
      {"\xE0\x80\x80", u"\xFFFD\xFFFD\xFFFD"},            // an overlong three-byte form
      {"\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},  // past U+10FFFF
      {"\xE2\x82", u"\xFFFD"},                            // cut short: one replacement
      {"\xE2\x82"
       "A",
       u"\xFFFD"
       "A"},
      {"\x80", u"\xFFFD"},
      // Two surrogates' bytes that make a pair join, as the two UTF-16 texts would.
      {"\xED\xA0\xBD\xED\xBA\x80", u"\U0001F680"},
  };
  for (const auto& c : cases) EXPECT_EQ(text::Wtf8ToUtf16<char16_t>(c.bytes), c.units);
}

}  // namespace
