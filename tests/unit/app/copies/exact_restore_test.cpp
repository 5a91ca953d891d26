// Which values regedit puts back with other bytes, as measured with Wine's regedit, and where a
// copy holds them.

#include "app/copies/exact_restore.h"

#include <gtest/gtest.h>

namespace {

using app::CopiedValue;
using Bytes = std::vector<std::uint8_t>;

TEST(ExactRestore, TextMustEndInAZeroUnitAndOtherTypesComeBackAsWritten) {
  const struct {
    CopiedValue value;
    bool exact;
  } cases[] = {
      {{"", 1, {'a', 0, 'b', 0, 0, 0}}, true},
      {{"", 1, {'a', 0, 'b', 0}}, false},
      {{"", 2, {'a', 0, 'b', 0, 'c'}}, false},
      {{"", 7, {'a', 0, 0, 0, 7}}, false},
      {{"", 7, {'a'}}, false},
      {{"", 7, {'a', 0, 0, 0, 'b', 0}}, false},
      {{"", 7, {'a', 0, 0, 0}}, true},
      {{"", 2, {0, 0, 'b', 0, 0, 0}}, true},
      {{"", 1, {}}, true},
      {{"", 1, {0, 0x01}}, false},
      {{"", 4, {1, 2, 3}}, true},
      {{"", 11, {1}}, true},
      {{"", 0, {}}, true},
      {{"", 3, {}}, true},
      {{"", 0xFFFFFFFF, {'a', 0, 'b'}}, true},
      {{"", 6, {'a'}}, true},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(app::RegeditRestoresExactly(cases[i].value), cases[i].exact) << "case " << i;
  }
  const app::CopiedKey key{
      "K",
      {{"Odd", 1, {'a'}}, {"Fine", 1, {0, 0}}},
      {{"S", {}, {{"T", {{"", 2, {'a', 0}}}, {}}}}, {"U", {{"M", 7, {}}}, {}}}};
  const auto inexact = app::InexactValues(key, "HKEY_CURRENT_USER\\K");
  ASSERT_EQ(inexact.size(), 2u);
  EXPECT_EQ(inexact[0].key_path + "|" + inexact[0].name, "HKEY_CURRENT_USER\\K|Odd");
  EXPECT_EQ(inexact[1].key_path + "|" + inexact[1].name, "HKEY_CURRENT_USER\\K\\S\\T|");
}

}  // namespace
