// The copy of an entry: the .reg file it is written as, read back by the substitute registry's
// loader, which reads .reg files as regedit does; the path of each view; the file's name.

#include "app/copies/reg_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/copies/copy_file_name.h"
#include "app/copies/key_copy.h"
#include "app/entry/entry_key.h"
#include "platform/sim/sim_registry.h"

namespace {

using app::CopiedKey;
using app::CopiedValue;
using app::EntryView;
using Bytes = std::vector<std::uint8_t>;

const std::string kUninstallPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kUserEntry = "HKEY_CURRENT_USER\\" + kUninstallPath;

Bytes Utf16(const std::u16string& text, bool terminated = true) {
  Bytes bytes;
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  if (terminated) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

// The file's text without its BOM, as UTF-16 units.
std::u16string FileText(const Bytes& file) {
  std::u16string text;
  for (std::size_t i = 2; i + 1 < file.size(); i += 2) {
    text += static_cast<char16_t>(file[i] | (file[i + 1] << 8));
  }
  return text;
}

// Writes the key as a file, loads that file into a fresh registry and reads the key again.
CopiedKey RoundTrip(const CopiedKey& key, const std::string& path, Bytes* file_out = nullptr) {
  const auto file = app::RegFileBytes(key, path);
  EXPECT_TRUE(file.has_value());
  if (!file) return {};
  if (file_out != nullptr) *file_out = *file;
  sim::Registry registry;
  registry.LoadRegText(std::string(file->begin(), file->end()));
  CopiedKey back;
  const std::string relative = path.substr(path.find('\\') + 1);
  const auto root = path.starts_with("HKEY_CURRENT_USER") ? platform::kHkeyCurrentUser
                                                          : platform::kHkeyLocalMachine;
  EXPECT_EQ(app::ReadKeyCopy(registry, root, relative,
                             platform::kKeyRead | platform::kKeyWow64_64Key, back),
            platform::kRegOk);
  return back;
}

struct ValueCase {
  const char* label;
  CopiedValue value;
  std::u16string line;  // the line the file holds for it
};

// Every type and odd data, each with the line that holds it: only clean REG_SZ is quoted.
TEST(RegFile, EachValueReadsBackExactlyFromItsLine) {
  const ValueCase cases[] = {
      {"clean text",
       {"Name", platform::kRegSz, Utf16(u"Tapwise \u00E9\U0001F600")},
       u"\"Name\"=\"Tapwise \u00E9\U0001F600\""},
      {"quotes and backslashes",
       {"Q", platform::kRegSz, Utf16(u"C:\\a \"b\"")},
       u"\"Q\"=\"C:\\\\a \\\"b\\\"\""},
      {"empty text", {"E", platform::kRegSz, Utf16(u"")}, u"\"E\"=\"\""},
      {"default value", {"", platform::kRegSz, Utf16(u"d")}, u"@=\"d\""},
      {"text with a line break",
       {"L", platform::kRegSz, Utf16(u"a\r\n")},
       u"\"L\"=hex(1):61,00,0d,00,0a,00,00,00"},
      {"text without a terminator",
       {"T", platform::kRegSz, Utf16(u"ab", false)},
       u"\"T\"=hex(1):61,00,62,00"},
      {"text with data after its terminator",
       {"A", platform::kRegSz, Bytes{'a', 0, 0, 0, 'b', 0}},
       u"\"A\"=hex(1):61,00,00,00,62,00"},
      {"odd byte count",
       {"O", platform::kRegSz, Bytes{'a', 0, 0, 0, 7}},
       u"\"O\"=hex(1):61,00,00,00,07"},
      {"empty REG_SZ", {"Z", platform::kRegSz, Bytes{}}, u"\"Z\"=hex(1):"},
      {"lone surrogate",
       {"S", platform::kRegSz, Bytes{0x00, 0xD8, 0, 0}},
       u"\"S\"=hex(1):00,d8,00,00"},
      {"surrogates in reverse order",
       {"R", platform::kRegSz, Bytes{0x00, 0xDC, 0x00, 0xD8, 0, 0}},
       u"\"R\"=hex(1):00,dc,00,d8,00,00"},
      {"two trail surrogates",
       {"T2", platform::kRegSz, Bytes{0x00, 0xDC, 0x01, 0xDC, 0, 0}},
       u"\"T2\"=hex(1):00,dc,01,dc,00,00"},
      {"two lead surrogates",
       {"L2", platform::kRegSz, Bytes{0x00, 0xD8, 0x01, 0xD8, 0, 0}},
       u"\"L2\"=hex(1):00,d8,01,d8,00,00"},
      {"expand",
       {"X", platform::kRegExpandSz, Utf16(u"%A%")},
       u"\"X\"=hex(2):25,00,41,00,25,00,00,00"},
      {"multi",
       {"M", platform::kRegMultiSz, Bytes{'a', 0, 0, 0, 0, 0}},
       u"\"M\"=hex(7):61,00,00,00,00,00"},
      {"binary", {"B", platform::kRegBinary, Bytes{1, 0xFF}}, u"\"B\"=hex:01,ff"},
      {"empty binary", {"B0", platform::kRegBinary, Bytes{}}, u"\"B0\"=hex:"},
      {"dword", {"D", platform::kRegDword, Bytes{0x0A, 0, 0, 0x80}}, u"\"D\"=dword:8000000a"},
      {"dword of 3 bytes", {"D3", platform::kRegDword, Bytes{1, 2, 3}}, u"\"D3\"=hex(4):01,02,03"},
      {"qword",
       {"Q8", platform::kRegQword, Bytes{1, 0, 0, 0, 0, 0, 0, 2}},
       u"\"Q8\"=hex(b):01,00,00,00,00,00,00,02"},
      {"none", {"N", platform::kRegNone, Bytes{}}, u"\"N\"=hex(0):"},
      {"big type", {"Big", 0x12345, Bytes{9}}, u"\"Big\"=hex(12345):09"},
      {"name with quotes and backslashes",
       {"a\\\"b\"", platform::kRegDword, Bytes{1, 0, 0, 0}},
       u"\"a\\\\\\\"b\\\"\"=dword:00000001"},
      {"name with =", {"x=y", platform::kRegBinary, Bytes{}}, u"\"x=y\"=hex:"},
      {"name that is @", {"@", platform::kRegBinary, Bytes{}}, u"\"@\"=hex:"},
      {"non-ASCII name",
       {"\xD0\x98\xD0\xBC\xD1\x8F", platform::kRegBinary, Bytes{}},
       u"\"\u0418\u043C\u044F\"=hex:"},
  };
  for (const ValueCase& c : cases) {
    CopiedKey key;
    key.name = "K";
    key.values.push_back(c.value);
    Bytes file;
    const CopiedKey back = RoundTrip(key, kUserEntry + "K", &file);
    EXPECT_EQ(back, key) << c.label;
    const std::u16string text = FileText(file);
    EXPECT_NE(text.find(u"\r\n" + c.line + u"\r\n"), std::u16string::npos) << c.label;
  }
}

TEST(RegFile, TheFileIsRegeditsWithSubkeysAfterTheirKey) {
  CopiedKey key{"App", {{"DisplayName", platform::kRegSz, Utf16(u"App")}}, {}};
  key.subkeys.push_back({"Sub", {{"", platform::kRegDword, Bytes{2, 0, 0, 0}}}, {}});
  key.subkeys[0].subkeys.push_back({"Deeper \"x\"", {}, {}});
  key.subkeys.push_back({"\xD0\x9A\xD0\xB8\xD1\x80", {}, {}});
  Bytes file;
  EXPECT_EQ(RoundTrip(key, kUserEntry + "App", &file), key);
  ASSERT_GE(file.size(), 2u);
  EXPECT_EQ(file[0], 0xFF);
  EXPECT_EQ(file[1], 0xFE);
  EXPECT_EQ(
      FileText(file),
      u"Windows Registry Editor Version 5.00\r\n\r\n"
      u"[HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App]\r\n"
      u"\"DisplayName\"=\"App\"\r\n\r\n"
      u"[HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App\\Sub]"
      u"\r\n@=dword:00000002\r\n\r\n"
      u"[HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App\\Sub\\"
      u"Deeper \"x\"]\r\n\r\n"
      u"[HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App\\"
      u"\u041A\u0438\u0440]\r\n\r\n");
}

// Long data is wrapped as regedit wraps it, and the loader joins it again.
TEST(RegFile, LongDataIsWrappedAndReadsBack) {
  CopiedKey key{"W", {{"Blob", platform::kRegBinary, Bytes(300, 0xAB)}}, {}};
  Bytes file;
  EXPECT_EQ(RoundTrip(key, kUserEntry + "W", &file), key);
  const std::u16string text = FileText(file);
  EXPECT_NE(text.find(u",\\\r\n  ab,"), std::u16string::npos);
  std::size_t longest = 0;
  for (std::size_t at = 0, next = 0; at < text.size(); at = next + 2) {
    next = text.find(u"\r\n", at);
    if (next == std::u16string::npos) break;
    longest = std::max(longest, next - at);
  }
  EXPECT_LE(longest, 80u);
}

TEST(RegFile, NamesALineCannotHoldAreRefused) {
  const CopiedKey cases[] = {
      {"K", {{"a\nb", platform::kRegBinary, {}}}, {}},
      {"K", {{"tab\t", platform::kRegBinary, {}}}, {}},
      {"K", {}, {{"sub\rkey", {}, {}}}},
      {"K", {}, {{"ok", {}, {{"\x01", {}, {}}}}}},
      {"K", {{"del\x7F", platform::kRegBinary, {}}}, {}},
      {"K", {{"\xED\xB0\x80\xED\xA0\x80", platform::kRegBinary, {}}}, {}},  // U+DC00 U+D800
  };
  for (const CopiedKey& key : cases) {
    EXPECT_FALSE(app::RegFileBytes(key, kUserEntry + "K").has_value());
  }
  EXPECT_FALSE(app::RegFileBytes(CopiedKey{"K", {}, {}}, kUserEntry + "K\n").has_value());
}

// Importing the file must restore the same view: the 32-bit view of 64-bit Windows is named
// through WOW6432Node.
TEST(RegFile, EachViewHasItsOwnPath) {
  const struct {
    EntryView view;
    bool separate_64bit_view;
    std::string path;
  } cases[] = {
      {EntryView::kUser, true, kUserEntry + "App"},
      {EntryView::kUser, false, kUserEntry + "App"},
      {EntryView::kMachine64, true, "HKEY_LOCAL_MACHINE\\" + kUninstallPath + "App"},
      {EntryView::kMachineDefault, false, "HKEY_LOCAL_MACHINE\\" + kUninstallPath + "App"},
      {EntryView::kMachineDefault, true,
       "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
       "App"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(app::EntryKeyPath(c.view, c.separate_64bit_view, "App"), c.path);
  }
  // Loaded into the substitute of 64-bit Windows, the 32-bit view's file lands in that view.
  CopiedKey key{"App", {{"V", platform::kRegBinary, Bytes{1}}}, {}};
  const auto file =
      app::RegFileBytes(key, app::EntryKeyPath(EntryView::kMachineDefault, true, "App"));
  ASSERT_TRUE(file.has_value());
  sim::Registry registry;
  registry.LoadRegText(std::string(file->begin(), file->end()));
  CopiedKey back;
  EXPECT_EQ(app::ReadKeyCopy(registry, platform::kHkeyLocalMachine, kUninstallPath + "App",
                             platform::kKeyRead, back),
            platform::kRegOk);
  EXPECT_EQ(back, key);
  EXPECT_EQ(app::ReadKeyCopy(registry, platform::kHkeyLocalMachine, kUninstallPath + "App",
                             platform::kKeyRead | platform::kKeyWow64_64Key, back),
            platform::kRegNotFound);
}

TEST(CopyFileName, SafeDatedAndShortEnoughForMaxPath) {
  const std::string folder =
      "C:\\Users\\u\\AppData\\Local\\Quillon\\Tapwise Uninstaller\\Removed entries";
  const platform::LocalTime time{2026, 3, 4, 5, 6, 7};
  const std::string stamp = " 2026-03-04 05-06-07.reg";
  const struct {
    std::string name;
    std::string file;
  } cases[] = {
      {"Foo 1.2", "Foo 1.2"},
      {"A<b>:c\"d/e\\f|g?h*i", "A_b__c_d_e_f_g_h_i"},
      {"tab\there\x01", "tab_here_"},
      {"del\x7F", "del_"},
      {"unit\x1F", "unit_"},
      {"  dots and blanks. . ", "dots and blanks"},
      {"...", "_"},
      {"CON", "_CON"},
      {"com1.setup", "_com1.setup"},
      {"LPT\xC2\xB9", "_LPT\xC2\xB9"},
      {"CONSOLE", "CONSOLE"},
      {"\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3", "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(app::CopyFilePath(folder, c.name, time), folder + "\\" + c.file + stamp) << c.name;
  }
  EXPECT_EQ(app::CopyFolder("C:\\L"), "C:\\L\\Quillon\\Tapwise Uninstaller\\Removed entries");
  EXPECT_EQ(app::CopyFolder("C:\\L\\"), "C:\\L\\Quillon\\Tapwise Uninstaller\\Removed entries");
  EXPECT_EQ(app::CopyFolder(""), "");
}

// A long name is cut at a character, never inside one, so that the path stays under MAX_PATH.
TEST(CopyFileName, LongNamesAreCutToFit) {
  const std::string folder = "C:\\F";
  const platform::LocalTime time{2026, 12, 31, 23, 59, 59};
  const std::string emoji = "\xF0\x9F\x98\x80";  // two UTF-16 units
  const std::size_t room = 259 - 5 - 24;         // MAX_PATH less terminator, folder, stamp
  const std::string ascii = app::CopyFilePath(folder, std::string(400, 'a'), time);
  EXPECT_EQ(ascii, folder + "\\" + std::string(room, 'a') + " 2026-12-31 23-59-59.reg");
  std::string emojis;
  for (int i = 0; i < 200; ++i) emojis += emoji;
  const std::string cut = app::CopyFilePath(folder, emojis, time);
  std::string expected;
  for (std::size_t i = 0; i < room / 2; ++i) expected += emoji;
  EXPECT_EQ(cut, folder + "\\" + expected + " 2026-12-31 23-59-59.reg");
  EXPECT_EQ(app::CopyFilePath("C:\\" + std::string(240, 'f'), "x", time), "");
}

}  // namespace
