// The popup cycle in virtual time: when the program shows its menu and when it ends.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/harness.h"
#include "app/menu/menu_commands.h"

namespace {

using testing_support::Entry;
using testing_support::kLm32;
using testing_support::Last;
using testing_support::Program;
using Lines = std::vector<std::string>;
using Kind = sim::MenuNode::Kind;

const std::string kFoo =
    Entry(kLm32 + "Foo", {R"("DisplayName"="Foo")", R"("UninstallString"="C:\\Foo\\unins000.exe")",
                          R"("InstallDate"="20200101")"});

// The fixed rows under one parent, in the table's order; menu_table_test.cpp spells the table.
// "Left behind" is shown only when a record is kept whose program is gone: none is here.
std::vector<app::MenuRow> RowsUnder(std::string_view parent) {
  std::vector<app::MenuRow> rows;
  for (const app::MenuRow& row : app::MenuRows()) {
    if (row.parent == parent && row.slot != app::Slot::kLeftBehind) rows.push_back(row);
  }
  return rows;
}

// The shown items are the table's rows under parent, in its order.
void ExpectTableTree(const std::vector<sim::MenuNode>& items, std::string_view parent) {
  const std::vector<app::MenuRow> rows = RowsUnder(parent);
  ASSERT_EQ(items.size(), rows.size()) << parent;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const app::MenuRow& row = rows[i];
    const bool has_rows = !RowsUnder(row.name).empty();
    Kind kind = Kind::kCommand;
    if (row.caption == app::kSeparatorCaption) kind = Kind::kSeparator;
    if (has_rows || row.slot != app::Slot::kNone) kind = Kind::kSubmenu;
    EXPECT_EQ(items[i].caption, row.caption) << row.name;
    EXPECT_EQ(items[i].kind, kind) << row.name;
    EXPECT_EQ(items[i].is_default, row.is_default) << row.name;
    if (has_rows) ExpectTableTree(items[i].children, row.name);
  }
}

TEST(Menu, PopsUpTheFixedTreeAtTheCursor) {
  Program program(kFoo);
  program.sim.windows.SetCursor({640, 360});
  program.sim.processes.SetProcesses({"explorer.exe"});
  program.sim.windows.DismissMenu();
  program.Run();

  const auto& popups = program.sim.windows.Popups();
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0].point, (platform::Point{640, 360}));
  EXPECT_EQ(popups[0].flags, 0x0002u);

  // The popped tree is the table's, each generated submenu filled.
  ExpectTableTree(popups[0].items, "");
  EXPECT_EQ(program.Shown(0, "All Programs"), (Lines{"Foo"}));
  EXPECT_EQ(program.Shown(0, "Recent Programs"), (Lines{"Foo"}));
  EXPECT_EQ(program.Shown(0, "Kill Process"), (Lines{"explorer.exe"}));
}

TEST(Menu, EmptySubmenusAreShownAsPlainItems) {
  Program program;
  program.sim.windows.ChooseMenuItem({"Recent Programs"}, 500);
  program.Run();
  const auto& items = program.sim.windows.Popups().at(0).items;
  const std::vector<app::MenuRow> top = RowsUnder("");
  ASSERT_EQ(items.size(), top.size());
  for (std::size_t i = 0; i < top.size(); ++i) {
    if (top[i].slot != app::Slot::kNone) {
      EXPECT_EQ(items[i].kind, Kind::kCommand) << top[i].name;
    }
  }
  // Choosing one does nothing: the program ends with the auto-close.
  EXPECT_EQ(program.sim.windows.Now(), 500 + 3000);
}

TEST(Menu, AnUnreadableCursorLeavesThePreviousPoint) {
  Program program;
  program.sim.windows.FailCursorRead(true);
  program.sim.windows.DismissMenu();
  program.Run();
  EXPECT_EQ(program.sim.windows.Popups().at(0).point, (platform::Point{0, 0}));
}

struct EndCase {
  std::string label;
  std::string reg;
  std::function<void(sim::WindowSystem&)> script;
  std::size_t popups;
  std::int64_t end_after_last_close;  // ms after the last menu closed
  friend void PrintTo(const EndCase& c, std::ostream* os) { *os << c.label; }
};

class EndTest : public ::testing::TestWithParam<EndCase> {};

TEST_P(EndTest, EndsWhenItShould) {
  const EndCase& c = GetParam();
  Program program(c.reg);
  // The uninstallers the entries name are there.
  for (const char* path : {"C:\\Foo\\unins000.exe", "C:\\Dash\\u.exe"}) {
    program.sim.files.AddFile(path, {2020, 1, 1});
  }
  c.script(program.sim.windows);
  EXPECT_EQ(program.Run(), 0);
  const auto& popups = program.sim.windows.Popups();
  ASSERT_EQ(popups.size(), c.popups);
  EXPECT_EQ(program.sim.windows.Now() - popups.back().closed_ms, c.end_after_last_close);
  EXPECT_EQ(program.sim.registry.OpenHandleCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cycle, EndTest,
    ::testing::Values(EndCase{"DismissEndsThreeSecondsLater", kFoo,
                              [](sim::WindowSystem& ws) { ws.DismissMenu(1234); }, 1, 3000},
                      EndCase{"ExitEndsAtOnce", kFoo,
                              [](sim::WindowSystem& ws) { ws.ChooseMenuItem({"Exit"}, 700); }, 1,
                              0},
                      EndCase{"ProgramItemEndsAtOnce", kFoo,
                              [](sim::WindowSystem& ws) {
                                ws.ChooseMenuItem({"All Programs", "Foo"});
                              },
                              1, 0},
                      EndCase{"ProgramNamedDashIsChosenLikeAnyOther",
                              Entry(kLm32 + "D", {R"("DisplayName"="-")",
                                                  R"("UninstallString"="C:\\Dash\\u.exe")"}),
                              [](sim::WindowSystem& ws) {
                                ws.ChooseMenuItem({"All Programs", "-"});
                              },
                              1, 0},
                      EndCase{"PromptAnsweredNoStillEnds", kFoo + Last("C:\\Foo\\unins000.exe"),
                              [](sim::WindowSystem& ws) {
                                ws.AnswerBox(platform::kIdNo, 60000);
                                ws.DismissMenu(2000);
                              },
                              1, 3000}),
    [](const auto& info) { return info.param.label; });

TEST(Prompt, TheAutoCloseWaitsWhileThePromptIsOpen) {
  Program program(kFoo + Last("C:\\Foo\\unins000.exe"));
  program.sim.windows.AnswerBox(platform::kIdNo, 60000);
  program.sim.windows.DismissMenu(100);
  program.Run();
  const auto& box = program.sim.windows.Boxes().at(0);
  const auto& popup = program.sim.windows.Popups().at(0);
  EXPECT_EQ(box.closed_ms - box.time_ms, 60000);
  EXPECT_GE(popup.time_ms, box.closed_ms);
  EXPECT_EQ(program.sim.windows.Now(), popup.closed_ms + 3000);
}

TEST(Activation, AFailureShowsTheErrorBoxAndEndsTheProgram) {
  Program program;
  program.sim.windows.FailMenuCreation(true);
  program.sim.windows.AnswerBox(platform::kIdOk, 5000);
  program.Run();
  const auto& boxes = program.sim.windows.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Cannot create a menu.");
  EXPECT_EQ(boxes[0].caption, "Tapwise Uninstaller");
  EXPECT_EQ(boxes[0].style, platform::kMbOk | platform::kMbIconError);
  EXPECT_TRUE(program.sim.windows.Popups().empty());
  EXPECT_EQ(program.sim.windows.Now(), boxes[0].closed_ms);
}

TEST(Activation, AMinimisedStartWaitsForTheUserToRestoreTheProgram) {
  Program program(kFoo);
  sim::WindowSystem& ws = program.sim.windows;
  ws.SetStartupShowState(platform::kSwShowMinNoActive);
  ws.At(5000, [&ws] {
    for (platform::WindowId id : ws.Windows()) {
      if (ws.SpecOf(id)->kind != platform::WindowKind::kApplication) continue;
      EXPECT_EQ(ws.LastShowState(id), platform::kSwShowMinNoActive);
      ws.SendTo(id, platform::kWmSysCommand, platform::kScRestore, 0);
    }
  });
  ws.DismissMenu();
  program.Run();
  ASSERT_EQ(ws.Popups().size(), 1u);
  EXPECT_EQ(ws.Popups()[0].time_ms, 5000);
  EXPECT_EQ(ws.UnusedMenuAnswers(), 0u);
}

// The menu comes up without the options dialog: it is made, once, when it is first wanted.
TEST(Start, MakesTheOptionsDialogOnlyWhenFirstWanted) {
  sim::SimPlatform sim;
  platform::Platform bound = sim.Bind();
  app::ProgramState state;
  framework::TApplication application{bound};
  app::MainForm& main_form = app::CreateProgramForms(application, state);
  const std::size_t at_start = sim.windows.Windows().size();
  app::OptionsDialog& dialog = main_form.Options();
  const std::size_t with_dialog = sim.windows.Windows().size();
  EXPECT_GT(with_dialog, at_start);
  EXPECT_EQ(&main_form.Options(), &dialog);
  EXPECT_EQ(sim.windows.Windows().size(), with_dialog);
}

}  // namespace
