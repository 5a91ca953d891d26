// Shortcuts built section by section: the target comes from where Windows takes it, and nothing
// comes from a file that is cut short, breaks a bound, or names its target only by shell items.

#include "app/leftovers/shortcut_reader.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/leftovers/shortcut_bytes.h"

namespace {

using app::ShortcutTarget;
using namespace shortcut_bytes;

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
