// The review after a quiet uninstall, over the substitute: only the certain rows start checked,
// a row this instance may not remove has no checkbox and gets none, the keyboard alone checks,
// moves and removes, and the machine's items go to the elevated instance's review.

#include <gtest/gtest.h>

#include "app/harness.h"
#include "app/leftovers/evidence_record.h"
#include "app/texts/texts.h"

namespace {

using platform::RowCheck;
using testing_support::Entry;
using testing_support::kLm32;
using testing_support::Program;

const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kFooKey = kLm32 + "Foo";

std::string Registry() {
  return Entry(kFooKey,
               {"\"DisplayName\"=\"Foo\"", R"("UninstallString"="\"C:\\Foo\\uninst.exe\"")",
                R"("QuietUninstallString"="\"C:\\Foo\\uninst.exe\" /S")"});
}

platform::WindowId ListIn(sim::WindowSystem& ws, platform::WindowId form) {
  for (const platform::WindowId window : ws.Windows()) {
    const platform::WindowSpec* shown = ws.SpecOf(window);
    if (shown->parent == form && shown->kind == platform::WindowKind::kCheckList) return window;
  }
  return platform::kNoWindow;
}

std::vector<RowCheck> Checks(const sim::WindowSystem::ListState& list) {
  std::vector<RowCheck> checks;
  for (const auto& row : list.rows) checks.push_back(row.check);
  return checks;
}

TEST(Review, OnlyTheCertainStartCheckedTheKeysCheckAndTheMachinesItemsGoToTheElevatedReview) {
  Program program(Registry());
  sim::WindowSystem& ws = program.sim.windows;
  program.sim.files.AddFile("C:\\Foo\\uninst.exe", {2020, 1, 1});
  auto& registry = program.sim.registry;
  // Foo leaves a start at logon for the user and one for everyone; Gadget's stays.
  registry.SetText(platform::kHkeyCurrentUser, kRun, "Foo", R"("C:\Foo\foo.exe" /tray)");
  registry.SetText(platform::kHkeyLocalMachine, kRun, "Foo", R"("C:\Foo\foo.exe" /tray)");
  ws.HoldShift(true);
  ws.ChooseMenuItem({"All Programs", "Foo"}, 500);
  ws.AnswerBox(platform::kIdYes, 1000);
  program.sim.launcher.SetTrackedRun({platform::kStartOk, 3000, 0});
  ws.At(4000, [&] {
    registry.DeletePhysicalKey(platform::kHkeyLocalMachine, kFooKey.substr(kFooKey.find('\\') + 1));
  });
  ws.AnswerBox(platform::kIdYes, 1000);  // review them now

  std::vector<RowCheck> shown, after_keys;
  ws.At(20000, [&] {
    const platform::WindowId form = ws.FindByCaption(app::LeftBehindCaption("Foo"));
    ASSERT_NE(form, platform::kNoWindow);
    const platform::WindowId list = ListIn(ws, form);
    shown = Checks(*ws.ListOf(list));
    // Space on each row in turn: the checked one is unchecked, the other gets no checkbox.
    ws.SetFocus(list);
    ws.PressKey(platform::kVkSpace);
    ws.PressKey(platform::kVkDown);
    ws.PressKey(platform::kVkSpace);
    ws.PressKey(platform::kVkUp);
    ws.PressKey(platform::kVkSpace);
  });
  ws.At(20100, [&] {
    const platform::WindowId form = ws.FindByCaption(app::LeftBehindCaption("Foo"));
    after_keys = Checks(*ws.ListOf(ListIn(ws, form)));
    ws.PressKey(platform::kVkTab);  // to "Remove checked"
    ws.PressKey(platform::kVkReturn);
  });
  ws.AnswerBox(platform::kIdOk, 1000);
  program.Run();

  // The user's run value, checked; the machine's, without a checkbox.
  EXPECT_EQ(shown, (std::vector<RowCheck>{RowCheck::kChecked, RowCheck::kNone}));
  EXPECT_EQ(after_keys, shown) << "unchecked, then checked again; the other never";
  EXPECT_FALSE(registry.Value(platform::kHkeyCurrentUser, kRun, "Foo"));
  EXPECT_TRUE(registry.Value(platform::kHkeyLocalMachine, kRun, "Foo")) << "not this instance's";
  const auto& boxes = ws.Boxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_TRUE(boxes[2].text.starts_with(
      "Removed 1 item. They are kept, and can be restored, from:\r\n" +
      std::string(sim::kLocalAppData) + "\\Quillon\\Tapwise Uninstaller\\Removed items\\"))
      << boxes[2].text;
  EXPECT_TRUE(boxes[2].text.ends_with(app::kMachineItemsNextText));
  const auto& launches = program.sim.launcher.Launches();
  ASSERT_EQ(launches.size(), 2u);
  EXPECT_EQ(launches[1].asked.elevation, platform::Elevation::kAlways);
  EXPECT_TRUE(launches[1].asked.allow_foreground);
  EXPECT_TRUE(launches[1].asked.parameters.starts_with("/review-machine-leftovers \"" +
                                                       std::string(sim::kLocalAppData)))
      << launches[1].asked.parameters;
}

// A record kept by an earlier run, whose program is gone: the submenu holds it, newest first,
// and its review follows; Escape keeps the record.
TEST(Review, LeftBehindHoldsTheRecordsWhoseProgramIsGoneAndTheReviewFollows) {
  Program program(
      Entry(kLm32 + "Bar", {"\"DisplayName\"=\"Bar\"", R"("UninstallString"="C:\\Bar\\u.exe")"}));
  sim::WindowSystem& ws = program.sim.windows;
  const std::string records =
      std::string(sim::kLocalAppData) + "\\Quillon\\Tapwise Uninstaller\\Uninstall records\\";
  for (const auto& [folder, id, name] : {std::tuple{"2026-12-01 10-00-00", "HKLM32/Foo", "Foo"},
                                         std::tuple{"2026-12-02 10-00-00", "HKLM32/Bar", "Bar"},
                                         std::tuple{"2026-12-03 10-00-00", "HKCU/Baz", "B&z"}}) {
    const app::EvidenceRecord record{.entry_id = id,
                                     .name = name,
                                     .uninstaller_folder = "C:\\Foo",
                                     .time = {2026, 12, 1, 10, 0, 0}};
    const std::string text = app::RecordText(record);
    program.sim.file_store.CreateFolders(records + folder);
    program.sim.file_store.WriteNewFile(records + folder + "\\record.txt",
                                        std::vector<std::uint8_t>(text.begin(), text.end()));
  }
  program.sim.registry.SetText(platform::kHkeyCurrentUser, kRun, "Foo", R"("C:\Foo\foo.exe")");
  ws.ChooseMenuItem({"Left behind", "Foo\u2026"}, 500);
  // The finder takes a while: past a moment, a window says it is looking.
  ws.At(100, [&] { program.sim.workers.Hold(true); });
  std::string progress;
  ws.At(2000, [&] {
    for (const platform::WindowId window : ws.Windows()) {
      const platform::WindowSpec* shown = ws.SpecOf(window);
      if (shown->kind == platform::WindowKind::kLabel && ws.IsVisible(shown->parent)) {
        progress = shown->caption;
      }
    }
    program.sim.workers.Hold(false);
    program.sim.workers.RunHeld();
  });
  bool reviewed = false;
  ws.At(5000, [&] {
    const platform::WindowId form = ws.FindByCaption(app::LeftBehindCaption("Foo"));
    reviewed = form != platform::kNoWindow && ws.IsVisible(form);
    ws.PressKey(platform::kVkEscape);
  });
  program.Run();

  const auto& shown = ws.Popups().at(0).items;
  const sim::MenuNode* left = sim::Find(shown, {"Left behind"});
  ASSERT_NE(left, nullptr);
  std::vector<std::string> rows;
  for (const auto& row : left->children) rows.push_back(row.caption);
  EXPECT_EQ(rows, (std::vector<std::string>{"B&&z\u2026", "Foo\u2026"})) << "Bar is listed";
  EXPECT_EQ(progress, "Looking for what Foo left behind\u2026");
  EXPECT_TRUE(reviewed);
  EXPECT_TRUE(program.sim.registry.Value(platform::kHkeyCurrentUser, kRun, "Foo"));
  EXPECT_EQ(program.sim.file_store.Files().count(records + "2026-12-01 10-00-00\\record.txt"), 1u)
      << "kept for later";
}

}  // namespace
