// The menu's fixed items, spelled once: the one place that says their order. Every other test
// reads the table.

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "app/menu/menu_commands.h"

namespace {

using app::Slot;

struct Spelled {
  std::string_view caption;
  std::string_view parent;
  bool is_default;
  bool has_command;
  Slot slot;
};

TEST(MenuTable, TheFixedItemsInTheirOrder) {
  const std::vector<Spelled> spelled = {
      {"All Programs", "", false, false, Slot::kAllPrograms},
      {"Recent Programs", "", true, false, Slot::kRecentPrograms},
      {"-", "", false, false, Slot::kNone},
      {"Kill Process", "", false, false, Slot::kKillProcess},
      {"Left behind", "", false, false, Slot::kLeftBehind},
      {"-", "", false, false, Slot::kNone},
      {"Tapwise Uninstaller", "", false, false, Slot::kNone},
      {"Options...", "Product", false, true, Slot::kNone},
      {"-", "Product", false, false, Slot::kNone},
      {"Check for Updates", "Product", false, true, Slot::kNone},
      {"Visit Web Site", "Product", false, true, Slot::kNone},
      {"Send Message", "Product", false, true, Slot::kNone},
      {"-", "Product", false, false, Slot::kNone},
      {"About...", "Product", false, true, Slot::kNone},
      {"Exit", "", false, true, Slot::kNone},
  };
  const auto rows = app::MenuRows();
  ASSERT_EQ(rows.size(), spelled.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].caption, spelled[i].caption) << i;
    EXPECT_EQ(rows[i].parent, spelled[i].parent) << i;
    EXPECT_EQ(rows[i].is_default, spelled[i].is_default) << i;
    EXPECT_EQ(rows[i].command != nullptr, spelled[i].has_command) << i;
    EXPECT_EQ(rows[i].slot, spelled[i].slot) << i;
  }
  // "Product" is the product submenu's row.
  EXPECT_EQ(rows[6].name, "Product");
}

}  // namespace
