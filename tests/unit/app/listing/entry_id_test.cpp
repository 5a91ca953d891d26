// Entry ids: every sequence of UTF-16 units comes back exactly, and anything not written by the
// encoder is refused, so one entry has one id and no id reaches another key.

#include "app/listing/entry_id.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/wtf8.h"

namespace {

using app::EntryView;

std::string Repeated(const std::string& text, std::size_t times) {
  std::string all;
  for (std::size_t i = 0; i < times; ++i) all += text;
  return all;
}

TEST(EntryId, EveryNameComesBackAsItsUnits) {
  const struct {
    EntryView view;
    std::u16string units;
    std::string id;
  } cases[] = {
      {EntryView::kMachineDefault, u"{90160000-0011-0000-0000-0000000FF1CE}",
       "HKLM32/{90160000-0011-0000-0000-0000000FF1CE}"},
      {EntryView::kMachine64, u"Caf\u00E9 1.2", "HKLM64/Caf%u00E9%201.2"},
      {EntryView::kUser, u"Tool \"x\"/2", "HKCU/Tool%20%22x%22%2F2"},
      {EntryView::kUser, u"100%'", "HKCU/100%25%27"},
      {EntryView::kUser, u"a\tb\x7F~_-", "HKCU/a%09b%7F~_-"},
      {EntryView::kUser, u"..", "HKCU/.."},
      {EntryView::kMachine64, u"\xD800x", "HKLM64/%uD800x"},
      {EntryView::kMachine64, u"x\xDC00", "HKLM64/x%uDC00"},
      {EntryView::kMachine64, u"\xDC00\xD800", "HKLM64/%uDC00%uD800"},
      {EntryView::kMachine64, u"\xD83D\xDE00\xFFFF", "HKLM64/%uD83D%uDE00%uFFFF"},
      {EntryView::kUser, std::u16string(app::kMostKeyNameUnits, u'\x100'),
       "HKCU/" + Repeated("%u0100", app::kMostKeyNameUnits)},
  };
  for (const auto& c : cases) {
    const std::string name = text::Utf16ToWtf8(std::u16string_view(c.units));
    EXPECT_EQ(app::EncodeEntryId(c.view, name), c.id);
    const auto parsed = app::ParseEntryId(c.id);
    ASSERT_TRUE(parsed) << c.id;
    EXPECT_EQ(parsed->view, c.view) << c.id;
    EXPECT_EQ(text::Wtf8ToUtf16<char16_t>(parsed->key_name), c.units) << c.id;
  }
}

TEST(EntryId, OnlyTheOneSpellingOfAKeyIsTaken) {
  const std::string kLongest = "HKLM32/" + std::string(app::kMostKeyNameUnits, 'a');
  const char* const refused[] = {
      "",         "HKCU",        "HKCU/",       "/x",         "HKLM/x",           "hklm32/x",
      "HKCU64/x", "HKCU32/x",    "HKCU /x",     "HKCU/a%5Cb", "HKCU/a%00b",       "HKCU/a%",
      "HKCU/a%2", "HKCU/%u00E",  "HKCU/%uD80",  "HKCU/%2f",   "HKCU/%u00e9",      "HKCU/%U00E9",
      "HKCU/%41", "HKCU/%u0020", "HKCU/%C3%A9", "HKCU/%G0",   "HKCU/%+1",         "HKCU/a b",
      "HKCU/a/b", "HKCU/../x",   "HKCU/a\"b",   "HKCU/a\\b",  "HKCU/Caf\xC3\xA9", "HKCU/a%20%",
  };
  for (const char* id : refused) EXPECT_FALSE(app::ParseEntryId(id)) << id;
  EXPECT_TRUE(app::ParseEntryId(kLongest));
  EXPECT_FALSE(app::ParseEntryId(kLongest + "a"));
  EXPECT_FALSE(app::ParseEntryId("HKCU/" + std::string(app::kMostEntryIdLength, 'a')));
}

TEST(EntryId, ANameNoKeyCanHaveGetsNoId) {
  const std::string refused[] = {
      "", "a\\b", std::string("a\0b", 3), std::string(app::kMostKeyNameUnits + 1, 'a'), "a\xFF",
  };
  for (const std::string& name : refused) {
    EXPECT_FALSE(app::EncodeEntryId(EntryView::kUser, name)) << name;
  }
}

}  // namespace
