#include "platform/sim/sim_reg_text.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sim/sim_registry.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using Bytes = std::vector<std::uint8_t>;

constexpr const char* kHeader = "Windows Registry Editor Version 5.00\n\n";

Bytes Text(const std::string& s) {
  Bytes bytes(s.begin(), s.end());
  bytes.push_back(0);
  return bytes;
}

TEST(RegText, ValueLinesGiveTypesAndBytes) {
  struct Case {
    const char* line;
    const char* name;
    std::uint32_t type;
    Bytes data;
  };
  const std::vector<Case> cases = {
      {R"("S"="plain")", "S", platform::kRegSz, Text("plain")},
      {R"("Esc"="C:\\Dir\\ \"q\"")", "Esc", platform::kRegSz, Text(R"(C:\Dir\ "q")")},
      {R"("Name \"x\""="v")", "Name \"x\"", platform::kRegSz, Text("v")},
      {R"(@="default")", "", platform::kRegSz, Text("default")},
      {R"("Empty"="")", "Empty", platform::kRegSz, Bytes{0}},
      {R"("D"=dword:0000000a)", "D", platform::kRegDword, Bytes{0x0A, 0, 0, 0}},
      {R"("D"=dword:DEADbeef)", "D", platform::kRegDword, Bytes{0xEF, 0xBE, 0xAD, 0xDE}},
      {R"("B"=hex:01,02,ff)", "B", platform::kRegBinary, Bytes{1, 2, 0xFF}},
      {R"("B"=hex:)", "B", platform::kRegBinary, Bytes{}},
      {R"("N"=hex(0):)", "N", platform::kRegNone, Bytes{}},
      {R"("Q"=hex(b):01,00,00,00,00,00,00,00)", "Q", platform::kRegQword,
       Bytes{1, 0, 0, 0, 0, 0, 0, 0}},
      // Text given as hex is UTF-16LE and is stored as UTF-8, terminators kept.
      {R"("E"=hex(2):25,00,41,00,25,00,00,00)", "E", platform::kRegExpandSz, Text("%A%")},
      {R"("U"=hex(1):e9,00,ac,20,00,00)", "U", platform::kRegSz, Text("\xC3\xA9\xE2\x82\xAC")},
      {R"("M"=hex(7):61,00,00,00,62,00,00,00,00,00)", "M", platform::kRegMultiSz,
       Bytes{'a', 0, 'b', 0, 0}},
      {R"("Pair"=hex(1):3d,d8,00,de,00,00)", "Pair", platform::kRegSz, Text("\xF0\x9F\x98\x80")},
      // A surrogate without its partner is kept, as the real seam keeps it (WTF-8).
      {R"("Lone"=hex(1):00,d8,00,00)", "Lone", platform::kRegSz, Text("\xED\xA0\x80")},
      // An odd byte is stored, as regedit stores it; the seam drops it.
      {R"("Odd"=hex(2):41,00,42)", "Odd", platform::kRegExpandSz, Bytes{'A'}},
  };
  for (const Case& c : cases) {
    sim::Registry reg;
    reg.LoadRegText(std::string(kHeader) + "[HKEY_CURRENT_USER\\K]\n" + c.line + "\n");
    const auto value = reg.Value(kHkeyCurrentUser, "K", c.name);
    ASSERT_TRUE(value.has_value()) << c.line;
    EXPECT_EQ(value->first, c.type) << c.line;
    EXPECT_EQ(value->second, c.data) << c.line;
  }
}

TEST(RegText, KeysDeletionsContinuationsAndFileShapes) {
  sim::Registry reg;
  reg.SetText(kHkeyCurrentUser, "Software\\Old\\Child", "X", "1");
  reg.SetText(kHkeyCurrentUser, "Software\\Keep", "Gone", "1");
  reg.SetText(kHkeyCurrentUser, "Software\\Keep", "Stays", "1");
  reg.LoadRegText(
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
      "\r\n"
      "; a comment, then a key under both short and long root names\r\n"
      "[HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo]\r\n"
      "\"Blob\"=hex:01,02,\\\r\n"
      "  03,04\r\n"
      "\r\n"
      "[-HKEY_CURRENT_USER\\Software\\Old]\r\n"
      "[HKCU\\Software\\Keep]\r\n"
      "\"Gone\"=-\r\n");
  EXPECT_TRUE(reg.KeyExists(kHkeyLocalMachine, "SOFTWARE\\Wow6432Node\\Microsoft"));
  const auto blob = reg.Value(
      kHkeyLocalMachine,
      "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo", "Blob");
  ASSERT_TRUE(blob.has_value());
  EXPECT_EQ(blob->second, (Bytes{1, 2, 3, 4}));
  EXPECT_FALSE(reg.KeyExists(kHkeyCurrentUser, "Software\\Old"));
  EXPECT_FALSE(reg.Value(kHkeyCurrentUser, "Software\\Keep", "Gone").has_value());
  EXPECT_TRUE(reg.Value(kHkeyCurrentUser, "Software\\Keep", "Stays").has_value());
}

// What regedit writes: UTF-16LE with a BOM, CRLF lines, hex wrapped after a backslash. Stored
// bytes are exactly the hex given, odd counts and missing terminators included.
TEST(RegText, Utf16FilesWithABomLoadByteForByte) {
  const std::u16string text =
      u"Windows Registry Editor Version 5.00\r\n\r\n"
      u"[HKEY_CURRENT_USER\\\u041F\u0440\u043E\u0433]\r\n"
      u"@=\"\u00E9t\u00E9\"\r\n"
      u"\"\u65E5\u672C\"=hex(1):41,00,42,\\\r\n"
      u"  00,43\r\n";
  std::string file = "\xFF\xFE";
  for (const char16_t unit : text) {
    file += static_cast<char>(unit & 0xFF);
    file += static_cast<char>(unit >> 8);
  }
  sim::Registry reg;
  reg.LoadRegText(file);
  const std::string key = "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3";
  const auto text_value = reg.RawValue(kHkeyCurrentUser, key, "");
  ASSERT_TRUE(text_value.has_value());
  EXPECT_EQ(text_value->second, (Bytes{0xE9, 0, 't', 0, 0xE9, 0, 0, 0}));
  const auto odd = reg.RawValue(kHkeyCurrentUser, key, "\xE6\x97\xA5\xE6\x9C\xAC");
  ASSERT_TRUE(odd.has_value());
  EXPECT_EQ(odd->first, platform::kRegSz);
  EXPECT_EQ(odd->second, (Bytes{'A', 0, 'B', 0, 'C'}));
  EXPECT_THROW(reg.LoadRegText(std::string("\xFF\xFE"
                                           "A",
                                           3)),
               std::invalid_argument);
}

TEST(RegText, Regedit4TextBytesAreSingleByte) {
  sim::Registry reg;
  reg.LoadRegText("REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n\"E\"=hex(2):25,41,25,00\n");
  const auto value = reg.Value(kHkeyCurrentUser, "K", "E");
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(value->second, Text("%A%"));
}

TEST(RegText, MalformedLinesNameTheirLineAndChangeNothing) {
  struct Case {
    const char* body;  // follows a header and one good key line (line 3)
    int line;
  };
  const Case cases[] = {
      {"[HKEY_CLASSES_ROOT\\X]", 4},
      {"[HKEY_CURRENT_USER\\X", 4},
      {"[-HKEY_CURRENT_USER]", 4},
      {"[HKCU\\A\\\\B]", 4},
      {"\"A\"=dword:123456789", 4},
      {"\"A\"=dword:", 4},
      {"\"A\"=hex:01,zz", 4},
      {"\"A\"=hex:01,\\\n 0x2", 4},
      {"\"A\"=hex(q):00", 4},
      {"\"A\"=\"unterminated", 4},
      {"\"A\"=\"unknown \\n escape\"", 4},
      {"\"A\"=\"x\" trailing", 4},
      {"\"A\" = \"spaced\"", 4},
      {"\"A\"=word:1", 4},
      {"\n\ngarbage", 6},
      {"[-HKEY_CURRENT_USER\\Gone]\n\"A\"=\"value in a deleted key\"", 5},
  };
  for (const Case& c : cases) {
    sim::Registry reg;
    const std::string text = std::string(kHeader) + "[HKEY_CURRENT_USER\\Good]\n" + c.body;
    try {
      reg.LoadRegText(text);
      ADD_FAILURE() << "accepted: " << c.body;
    } catch (const std::invalid_argument& error) {
      EXPECT_EQ(std::string(error.what()).rfind("line " + std::to_string(c.line) + ":", 0), 0u)
          << error.what();
    }
    EXPECT_FALSE(reg.KeyExists(kHkeyCurrentUser, "Good")) << c.body;
  }
}

TEST(RegText, AValueBeforeAnyKeyIsRejected) {
  sim::Registry reg;
  EXPECT_THROW(reg.LoadRegText("\"A\"=\"x\"\n"), std::invalid_argument);
}

}  // namespace
