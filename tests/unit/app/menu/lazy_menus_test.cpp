// The generated submenus are filled when they first open, and "All Programs" is grouped by
// initial when it would be too long for one popup.

#include <gtest/gtest.h>

#include "app/harness.h"

namespace {

using sim::MenuNode;
using testing_support::Entry;
using testing_support::kLm32;
using testing_support::Program;
using Lines = std::vector<std::string>;

std::string Programs(const Lines& names) {
  std::string reg;
  for (std::size_t i = 0; i < names.size(); ++i) {
    reg += Entry(kLm32 + "K" + std::to_string(i),
                 {"\"DisplayName\"=\"" + names[i] + "\"", R"("InstallDate"="20200101")",
                  R"("UninstallString"="u.exe")"});
  }
  return reg;
}

const MenuNode& Node(const std::vector<MenuNode>& menu, const std::string& displayed) {
  for (const MenuNode& node : menu) {
    if (node.displayed == displayed) return node;
  }
  throw std::runtime_error("no item " + displayed);
}

Lines Captions(const MenuNode& node) {
  Lines captions;
  for (const MenuNode& child : node.children) captions.push_back(child.displayed);
  return captions;
}

// Runs the program to a dismissed menu; the user opens every submenu before closing it.
struct Dismissed : Program {
  explicit Dismissed(const Lines& names, const Lines& running = {"a.exe"})
      : Program(Programs(names)) {
    sim.processes.SetProcesses(running);
    sim.windows.DismissMenu();
  }
  const sim::PopupRecord& Popup() const { return sim.windows.Popups().at(0); }
};

TEST(LazyMenus, TheMenuComesUpWithEmptySubmenusThatFillWhenOpened) {
  Dismissed program({"Beta", "Alpha"});
  program.Run();
  const auto& first = program.Popup().first_shown;
  for (const char* submenu : {"All Programs", "Recent Programs", "Kill Process"}) {
    EXPECT_EQ(Node(first, submenu).kind, MenuNode::Kind::kSubmenu) << submenu;
    EXPECT_TRUE(Node(first, submenu).children.empty()) << submenu;
  }
  const auto& opened = program.Popup().items;
  EXPECT_EQ(Captions(Node(opened, "All Programs")), (Lines{"Alpha", "Beta"}));
  EXPECT_EQ(Captions(Node(opened, "Recent Programs")), (Lines{"Beta", "Alpha"}));
  EXPECT_EQ(Captions(Node(opened, "Kill Process")), (Lines{"a.exe"}));
}

TEST(LazyMenus, AnEmptyListIsAPlainItemAsBefore) {
  Dismissed program({}, {});
  program.Run();
  for (const char* submenu : {"All Programs", "Recent Programs", "Kill Process"}) {
    EXPECT_EQ(Node(program.Popup().first_shown, submenu).kind, MenuNode::Kind::kCommand);
  }
}

TEST(LazyMenus, ASecondOpeningInsertsNothing) {
  Dismissed once({"Beta", "Alpha"});
  once.Run();
  Dismissed twice({"Beta", "Alpha"});
  twice.sim.windows.SetReopensSubmenus(true);
  twice.Run();
  EXPECT_EQ(Captions(Node(twice.Popup().items, "All Programs")), (Lines{"Alpha", "Beta"}));
  EXPECT_EQ(twice.sim.windows.AppendedItems(), once.sim.windows.AppendedItems());
}

Lines Numbered(std::size_t count) {
  const Lines initials{"apple ", "Bee ", "zed ", "9 lives ", "Ärger ", "_under "};
  Lines names;
  for (std::size_t i = 0; i < count; ++i) {
    names.push_back(initials[i % initials.size()] + std::to_string(100000 + i));
  }
  return names;
}

TEST(LazyMenus, PastTheLimitAllProgramsIsGroupedByInitialInListOrder) {
  const struct {
    std::size_t programs;
    Lines top;  // what "All Programs" holds, when grouped
  } cases[] = {
      {3000, {}},
      {3001, {"A", "B", "Z", "#"}},
  };
  for (const auto& c : cases) {
    Dismissed program(Numbered(c.programs));
    program.Run();
    const MenuNode& all = Node(program.Popup().items, "All Programs");
    if (c.top.empty()) {
      EXPECT_EQ(all.children.size(), c.programs);
      continue;
    }
    EXPECT_EQ(Captions(all), c.top);
    EXPECT_EQ(Node(program.Popup().first_shown, "All Programs").children.size(), 0u);
    EXPECT_EQ(Node(all.children, "#").children.size(), 1500u);  // digits, "Ä" and "_"
    EXPECT_EQ(Node(all.children, "A").children.at(0).displayed, "apple 100000");
    std::size_t listed = 0;
    for (const MenuNode& group : all.children) listed += group.children.size();
    EXPECT_EQ(listed, c.programs);
  }
}

TEST(LazyMenus, ARefusedInsertionKeepsWhatIsShownAndEndsNothing) {
  // The fixed menus hold seven items each.
  Dismissed program({"J", "I", "H", "G", "F", "E", "D", "C", "B", "A"});
  program.sim.windows.LimitMenuItems(7);
  program.Run();
  EXPECT_EQ(Captions(Node(program.Popup().items, "All Programs")),
            (Lines{"A", "B", "C", "D", "E", "F", "G"}));
  EXPECT_TRUE(program.sim.windows.Boxes().empty());
  EXPECT_EQ(program.sim.windows.Now(), program.Popup().closed_ms + 3000);
}

}  // namespace
