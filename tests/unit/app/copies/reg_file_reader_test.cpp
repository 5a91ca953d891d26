// The copy file read back: every key the writer writes comes back exactly, and a file the writer
// would never write is refused, with where it goes wrong.

#include "app/copies/reg_file_reader.h"

#include <gtest/gtest.h>

#include "app/copies/reg_file.h"

namespace {

using app::CopiedKey;
using app::RegFileFault;
using Bytes = std::vector<std::uint8_t>;

const std::string kPath = "HKEY_CURRENT_USER\\Software\\K\xC3\xA9";

std::uint8_t Byte(unsigned bits) {
  return static_cast<std::uint8_t>(bits & 0xFF);
}

Bytes FileOf(std::u16string_view text) {
  Bytes bytes{0xFF, 0xFE};
  for (const char16_t unit : text) bytes.insert(bytes.end(), {Byte(unit), Byte(unit >> 8)});
  return bytes;
}

void ExpectReadBack(const CopiedKey& key, const std::string& label) {
  const auto file = app::RegFileBytes(key, kPath);
  ASSERT_TRUE(file.has_value()) << label;
  const app::RegFileRead read = app::ReadRegFile(*file);
  EXPECT_EQ(read.fault, RegFileFault::kNone) << label << ", line " << read.line;
  EXPECT_EQ(read.path, kPath) << label;
  EXPECT_EQ(read.key, key) << label;
}

CopiedKey Chain(int depth) {
  CopiedKey key{"x", {}, {}};
  for (int i = 0; i < depth; ++i) key = CopiedKey{"x", {{"", 3, {}}}, {std::move(key)}};
  key.name = "K\xC3\xA9";
  return key;
}

TEST(RegFileReader, ReadsBackEveryValueAsWritten) {
  const app::CopiedValue cases[] = {
      {"Clean", 1, {'T', 0, 0xE9, 0, 0x3D, 0xD8, 0x00, 0xDE, '\\', 0, '"', 0, 0, 0}},
      {"", 1, {0, 0}},
      {"Odd", 1, {'a', 0, 'b', 0, 'c'}},
      {"Unterminated", 1, {'a', 0, 'b', 0}},
      {"Zeros inside", 7, {'a', 0, 0, 0, 'b', 0, 0, 0}},
      {"Empty text", 1, {}},
      {"Control", 1, {'\t', 0, 0, 0}},
      {"Lone surrogate", 1, {0x00, 0xD8, 0, 0}},
      {"Short dword", 4, {1, 2, 3}},
      {"Huge type", 0xFFFFFFFF, {9}},
      {"a\\\"b\"\\", 3, {1}},
      {"[x]=y;@", 3, Bytes(100, 7)},
      {"@", 3, {}},
      {"\xF0\x9F\x98\x80\xD0\x98", 3, Bytes(90, 0xFE)},
  };
  CopiedKey all{"K\xC3\xA9", {}, {}};
  for (const app::CopiedValue& value : cases) all.values.push_back(value);
  ExpectReadBack(all, "every value");
  // Where hex data breaks depends on the name before it, counted in bytes of UTF-8.
  for (const char* unit : {"n", "\\", "\xC3\xA9", "\xF0\x9F\x98\x80"}) {
    for (std::string name; name.size() < 80; name += unit) {
      for (std::size_t size = 0; size < 60; ++size) {
        ExpectReadBack({"K\xC3\xA9", {{name, 3, Bytes(size, 0xAB)}}, {}}, name);
      }
    }
  }
}

TEST(RegFileReader, ReadsBackTreesAsDeepAsCopiesGo) {
  CopiedKey tree{"K\xC3\xA9", {{"V", 4, {1, 0, 0, 0}}}, {}};
  tree.subkeys = {{"[a]", {{"", 3, {}}}, {{"x=y", {}, {}}, {"\xF0\x9F\x98\x80", {}, {}}}},
                  {"a", {}, {{"b", {}, {}}}},
                  {"]", {}, {}}};
  ExpectReadBack(tree, "tree");
  ExpectReadBack(Chain(app::kMaxCopyDepth), "deepest");
  const auto deeper = app::RegFileBytes(Chain(app::kMaxCopyDepth + 1), kPath);
  EXPECT_EQ(app::ReadRegFile(*deeper).fault, RegFileFault::kTooDeep);
  // Names and data are counted as a copy counts them: 512 names of one byte, values of none.
  const auto deepest = app::RegFileBytes(Chain(app::kMaxCopyDepth), kPath);
  EXPECT_TRUE(app::ReadRegFile(*deepest, app::kMaxCopyDepth).ok());
  EXPECT_EQ(app::ReadRegFile(*deepest, app::kMaxCopyDepth - 1).fault, RegFileFault::kTooMuch);
}

TEST(RegFileReader, RefusesWhatTheWriterNeverWrites) {
  using enum app::RegFileFault;
  const std::u16string header = u"Windows Registry Editor Version 5.00\r\n\r\n";
  const std::u16string head = header + u"[HKEY_CURRENT_USER\\K]\r\n";
  const auto sub = [](std::u16string n) { return u"[HKEY_CURRENT_USER\\K\\" + n + u"]\r\n\r\n"; };
  const struct {
    std::u16string file;
    RegFileFault fault;
    std::size_t line;
  } cases[] = {
      {header.substr(0, 38) + u"[K]\r\n\r\n", kHeader, 1},
      {header + u"[K\r\n\r\n", kKeyLine, 3},
      {head + u"\r\n\r\n", kKeyLine, 5},
      {head + u"\r\n[HKEY_CURRENT_USER\\Other]\r\n\r\n", kKeyLine, 5},
      {head + u"\r\n[HKEY_CURRENT_USER\\K\\\xDC00]\r\n\r\n", kKeyLine, 5},
      {head + u"\r\n[HKEY_CURRENT_USER\\K\\]\r\n\r\n", kKeyLine, 5},
      {head + u"\r\n[HKEY_CURRENT_USER\\K\\a\\b]\r\n\r\n", kKeyLine, 5},
      {head + u"\r\n" + sub(u"a") + sub(u"b") + sub(u"a\\c"), kKeyLine, 9},
      {head + u"\"N\"=hex:01\r\n", kCut, 5},
      {head + u"\"\"=hex:\r\n\r\n", kValueName, 4},
      {head + u"\"a\\nb\"=hex:\r\n\r\n", kValueName, 4},
      {head + u"\"\xD800\"=hex:\r\n\r\n", kValueName, 4},
      {head + u"@=hex(3):01\r\n\r\n", kValueData, 4},
      {head + u"@=hex(0b):01\r\n\r\n", kValueData, 4},
      {head + u"@=hex(100000000):01\r\n\r\n", kValueData, 4},
      {head + u"@=hex:0A\r\n\r\n", kValueData, 4},
      {head + u"@=hex:01,\r\n\r\n", kValueData, 4},
      {head + u"@=dword:0000001\r\n\r\n", kValueData, 4},
      {head + u"@=hex(4):01,02,03,04\r\n\r\n", kValueData, 4},
      {head + u"@=hex(1):61,00,00,00\r\n\r\n", kValueData, 4},
      {head + u"@=\"a\tb\"\r\n\r\n", kValueData, 4},
      {head + u"@=\"a\" \r\n\r\n", kLineEnd, 4},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const app::RegFileRead read = app::ReadRegFile(FileOf(cases[i].file));
    EXPECT_EQ(read.fault, cases[i].fault) << "case " << i;
    EXPECT_EQ(read.line, cases[i].line) << "case " << i;
    EXPECT_TRUE(read.key == CopiedKey{} && read.path.empty());
  }
  for (const Bytes& bad : {Bytes{}, Bytes{0xFE, 0xFF, 0, 0}, Bytes{0xFF, 0xFE, 'W'}}) {
    EXPECT_EQ(app::ReadRegFile(bad).fault, RegFileFault::kNotUtf16);
  }
}

}  // namespace
