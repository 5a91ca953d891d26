// Shortcuts built section by section: the target comes from where Windows takes it, and nothing
// comes from a file that is cut short, breaks a bound, or names its target only by shell items.

#include "app/leftovers/shortcut_reader.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using app::ShortcutTarget;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kIds = 1, kInfo = 2, kName = 4, kWide = 0x80, kEnv = 0x200;

void Put(Bytes& out, std::size_t value, std::size_t width = 4) {
  for (std::size_t i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>(value >> 8 * i));
}

Bytes Set(Bytes bytes, std::size_t at, std::size_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> 8 * i);
  return bytes;
}

// The header (its size, the class id of shell links as four words, the flags), the sections, and
// the block that ends the file.
Bytes Lnk(std::uint32_t flags, std::initializer_list<Bytes> sections) {
  Bytes out;
  for (const auto word : {0x4Cu, 0x21401u, 0u, 0xC0u, 0x46000000u, flags}) Put(out, word);
  out.resize(0x4C);
  for (const Bytes& section : sections) out.insert(out.end(), section.begin(), section.end());
  Put(out, 0);
  return out;
}

// The local path's base and suffix in ANSI (each unit's low byte), then in Unicode, which is read
// unless the header's size is set to that of ANSI link information; no network share.
Bytes LinkInfo(std::u16string_view base, std::u16string_view suffix) {
  Bytes info(0x10), strings;
  const auto add = [&](std::u16string_view text, std::size_t width) {
    Put(info, 0x24 + strings.size());
    for (const char16_t unit : text) Put(strings, unit, width);
    Put(strings, 0, width);
  };
  add(base, 1), Put(info, 0), add(suffix, 1), add(base, 2), add(suffix, 2);
  info.insert(info.end(), strings.begin(), strings.end());
  return Set(Set(Set(info, 0, info.size()), 4, 0x24), 8, 1);
}

Bytes Environment(std::u16string_view target) {
  Bytes block = Set(Set(Bytes(0x10C), 0, 0x314), 4, 0xA0000001);
  for (const char16_t unit : target) Put(block, unit, 2);
  block.resize(0x314);
  return block;
}

const Bytes kItems{6, 0, 4, 0, 0x1F, 0x50, 0, 0}, kNameW{1, 0, 'n', 0};
const Bytes kLinkInfo = LinkInfo(u"C:\\Program Files\\T\u00E9", u"\\app.exe");
const Bytes kEnvBytes = Environment(u"%ProgramFiles%\\T\\app.exe");
const ShortcutTarget kInfoTarget{"C:\\Program Files\\T\xC3\xA9\\app.exe", false};
const ShortcutTarget kEnvTarget{"%ProgramFiles%\\T\\app.exe", true};

TEST(ShortcutReader, TakesTheTargetFromWhereWindowsTakesIt) {
  const auto all = Lnk(kIds | kInfo | kName | kWide | kEnv, {kItems, kLinkInfo, kNameW, kEnvBytes});
  const Bytes plain = Lnk(kIds | kInfo | kName | kWide, {kItems, kLinkInfo, kNameW});
  const std::size_t info = 0x4C + kItems.size(), end = info + kLinkInfo.size();
  Bytes blocks;
  for (int i = 0; i < 33; ++i) Put(blocks, 8), Put(blocks, 0xA0000002);
  const struct {
    Bytes file;
    std::optional<ShortcutTarget> target;
  } cases[] = {
      {all, kEnvTarget},
      {plain, kInfoTarget},
      {Set(Lnk(kInfo, {LinkInfo(u"C:\\", u"a.exe")}), 0x50, 0x1C), ShortcutTarget{"C:\\a.exe"}},
      {Set(plain, info + 4, 0x1C), {}},                               // ANSI, not ASCII
      {Lnk(kInfo | kName, {kLinkInfo, {1, 0, 'n'}}), kInfoTarget},    // ANSI strings
      {Lnk(kInfo, {kLinkInfo, kEnvBytes}), kInfoTarget},              // a block the flags omit
      {Lnk(kEnv, {kEnvBytes, kEnvBytes}), {}},                        // which one is meant
      {Lnk(kInfo, {LinkInfo(std::u16string(259, u'a'), u"b")}), {}},  // past MAX_PATH
      {Lnk(kInfo, {kLinkInfo, blocks}), {}},
      {Lnk(kInfo, {kLinkInfo, {4, 0, 0, 0}}), {}},                     // no room for a signature
      {Lnk(kInfo | kEnv, {kLinkInfo, Set(kEnvBytes, 0, 0x310)}), {}},  // a block of another size
      {Lnk(kIds, {kItems}), {}},
      {Set(plain, 0, 0x4D), {}},                                     // header size
      {Set(plain, 4, 0x21402), {}},                                  // class id
      {Set(plain, 0x14, kIds | kInfo | kName | kWide | 0x100), {}},  // link info to be ignored
      {Set(plain, 0x4C, 0x7FFF), {}},                                // items past the end
      {Set(plain, info, 0x7FFF), {}},                                // link info past the end
      {Set(plain, info + 8, 2), {}},                                 // a network share only
      {Set(plain, info + 0x1C, 0), {}},                              // base inside the header
      {Set(plain, info + 0x1C, end - info), {}},                     // base past the link info
      {Set(plain, end, 0xFFFF), {}},                                 // name past the end
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(app::ReadShortcutTarget(cases[i].file), cases[i].target) << "case " << i;
  }
  // Cut anywhere, the file lacks the block that ends it.
  for (std::size_t size = 0; size < all.size(); ++size) {
    EXPECT_EQ(app::ReadShortcutTarget({all.data(), size}), std::nullopt) << size;
  }
  Bytes larger = all;
  larger.resize(app::kMaxShortcutFileBytes + 1);
  EXPECT_EQ(app::ReadShortcutTarget(larger), std::nullopt);
}

}  // namespace
