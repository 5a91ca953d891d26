// win32::TextOrder must order exactly as a real sorted list box does.

#include "platform/win32/text_order.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/utf.h"
#include "test_support.h"

namespace {

// Names as they turn up in an uninstall list, chosen where orders tend to differ: case,
// punctuation that a word sort skips, digits, accents, the "<#>" entry separator.
const std::vector<std::string> kTrickyTexts = {
    "co-op",
    "coop",
    "-dash",
    "dash",
    "Foo 2<#>x",
    "foo<#>y",
    "Foo<#>z",
    "Foo2<#>w",
    "Zeta",
    "zeta2",
    "alpha",
    "Alpha Beta",
    "Ärger",
    "Arger",
    "Ayer",
    "MiXed",
    "mixer",
    "_under",
    "under",
    "10",
    "9",
    "1 2",
    "100",
    "a b",
    "ab",
    "a.b",
    "a_b",
    "A&B",
    "AB",
    "éclair",
    "eclair2",
    "Émile",
    "Œuvre",
    "O'Brien",
    "Obrien",
    "[bracket]",
    "(paren)",
    "~tilde",
    "7-Zip 19.00 (x64)",
    "7-Zip 9.20",
    "Microsoft Visual C++ 2015 x86",
    "Microsoft Visual C++ 2015 x64",
    "Microsoft .NET",
    "Zürich",
    "Zurich",
    "日本語",
    "",
};

std::vector<std::string> SortedByListBox(const std::vector<std::string>& texts) {
  const win32::UniqueWindow list(::CreateWindowExW(0, L"LISTBOX", L"",
                                                   WS_POPUP | LBS_SORT | LBS_HASSTRINGS, 0, 0, 100,
                                                   100, nullptr, nullptr, nullptr, nullptr));
  if (!list) return {};
  for (const std::string& text : texts) {
    ::SendMessageW(list.get(), LB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(win32::Utf8ToWide(text).c_str()));
  }
  std::vector<std::string> sorted;
  const auto count = ::SendMessageW(list.get(), LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring item(::SendMessageW(list.get(), LB_GETTEXTLEN, i, 0) + 1, L'\0');
    const auto length =
        ::SendMessageW(list.get(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
    item.resize(length);
    sorted.push_back(win32::WideToUtf8(item));
  }
  return sorted;
}

TEST(TextOrderTest, MatchesASortedListBox) {
  const win32::TextOrder order;
  // Texts the order calls equal may stand either way round in the list box; keep the first.
  std::vector<std::string> distinct;
  for (const std::string& text : kTrickyTexts) {
    const bool seen = std::any_of(distinct.begin(), distinct.end(), [&](const std::string& kept) {
      return order.Compare(kept, text) == 0;
    });
    if (!seen) distinct.push_back(text);
  }
  ASSERT_GT(distinct.size(), kTrickyTexts.size() - 3);

  std::vector<std::string> ours = distinct;
  std::stable_sort(ours.begin(), ours.end(), [&](const std::string& a, const std::string& b) {
    return order.Compare(a, b) < 0;
  });
  EXPECT_EQ(ours, SortedByListBox(distinct));
}

// The whole-list sort gives what sorting by Compare gives, equal texts in the order they came.
void ExpectStableSortByCompare(const win32::TextOrder& order,
                               const std::vector<std::string>& texts) {
  std::vector<const std::string*> pointers;
  for (const std::string& text : texts) pointers.push_back(&text);
  std::vector<std::size_t> expected(texts.size());
  for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = i;
  std::stable_sort(expected.begin(), expected.end(), [&](std::size_t a, std::size_t b) {
    return order.Compare(texts[a], texts[b]) < 0;
  });
  EXPECT_EQ(order.StableOrder(pointers), expected) << texts.size() << " texts";
}

TEST(TextOrderTest, StableOrderIsAStableSortByCompare) {
  const win32::TextOrder order;
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"only"},
      kTrickyTexts,
      {"mixed", "MiXed", "b", "MIXED", "a", "Mixed"},
      {"Foo<#>b", "foo<#>a", "Foo<#>a", "FOO<#>b"},
      // Names whose keys are longer than most, among short ones.
      {std::string(400, 'b') + "x", "c", std::string(400, 'B'), "a", std::string(400, 'b')},
  };
  for (const auto& texts : cases) {
    ExpectStableSortByCompare(order, texts);
  }
}

// The names real uninstall lists hold, each of the first column's lines as the program sorts
// them: "name<#>command", and again with a case-folded twin, so that equal texts meet.
TEST(TextOrderTest, StableOrderSortsRealProgramNamesAsCompareDoes) {
  const win32::TextOrder order;
  std::vector<std::string> texts;
  std::istringstream lines(win32_test::ReadFile(TAPWISE_PROGRAM_NAMES));
  std::string line;
  std::getline(lines, line);  // the column names
  while (std::getline(lines, line)) {
    const std::string name = line.substr(0, line.find('\t'));
    texts.push_back(name + "<#>\"C:\\Program Files\\" + name + "\\uninstall.exe\"");
    if (texts.size() % 7 == 0) texts.push_back(order.FoldCase(name) + "<#>");
  }
  ASSERT_GT(texts.size(), 14000u);
  ExpectStableSortByCompare(order, texts);
}

TEST(TextOrderTest, IgnoresCaseAndGivesASign) {
  const win32::TextOrder order;
  EXPECT_EQ(order.Compare("MiXed", "mixed"), 0);
  EXPECT_EQ(order.Compare("alpha", "Beta"), -1);
  EXPECT_EQ(order.Compare("Beta", "alpha"), 1);
  EXPECT_EQ(order.Compare("", "a"), -1);
}

}  // namespace

namespace {

// Typing compares names through this fold: the locale's upper case, one character for one.
TEST(TextOrderFold, FoldsLetterCaseOneCharacterForOne) {
  const struct {
    std::string text;
    std::string folded;
  } cases[] = {
      {"visual s", "VISUAL S"},
      {"é ü ö", "É Ü Ö"},
      {"Яндекс", "ЯНДЕКС"},
      {"straße", "STRAßE"},
      {"AT&T 7-Zip", "AT&T 7-ZIP"},
      {"", ""},
      {"\xF0\x9F\x9A\x80x", "\xF0\x9F\x9A\x80X"},
  };
  const win32::TextOrder order;
  for (const auto& c : cases) EXPECT_EQ(order.FoldCase(c.text), c.folded) << c.text;
}

}  // namespace
