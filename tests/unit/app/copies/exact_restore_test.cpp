// Which values regedit puts back with other bytes, as measured with Wine's regedit, and where a
// copy holds them.

#include "app/copies/exact_restore.h"

#include <gtest/gtest.h>

namespace {

using app::CopiedValue;

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
      {{"", 7, {'a', 0, 0, 0}}, true},
      {{"", 2, {0, 0, 'b', 0, 0, 0}}, true},
      {{"", 1, {}}, true},
      {{"", 4, {1, 2, 3}}, true},
      {{"", 11, {1}}, true},
      {{"", 0, {}}, true},
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
  std::string listed;
  for (const auto& v : app::InexactValues(key, "K")) listed += v.key_path + "|" + v.name + ";";
  EXPECT_EQ(listed, "K|Odd;K\\S\\T|;");
}

}  // namespace
