// The options dialog, the About box and the web pages, in virtual time.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>

#include "app/harness.h"

namespace {

using testing_support::Entry;
using testing_support::kLm32;
using testing_support::Program;
using Lines = std::vector<std::string>;
using Modifier = sim::WindowSystem::Modifier;

constexpr std::string_view kDialog = "Tapwise Uninstaller \\ Options";
constexpr std::string_view kHideMicrosoft = "Hide Microsoft products";
constexpr std::string_view kShowNoRemove = "Show programs with \"NoRemove\" flag";
constexpr std::string_view kOk = "OK";
const Lines kOptions = {"Tapwise Uninstaller", "Options..."};

const std::string kCatalogue =
    Entry(kLm32 + "Foo", {R"("DisplayName"="Foo")", R"("UninstallString"="C:\\Foo\\u.exe")"}) +
    Entry(kLm32 + "Office",
          {R"("DisplayName"="Microsoft Office")", R"("UninstallString"="C:\\Office\\u.exe")"}) +
    Entry(kLm32 + "Kept", {R"("DisplayName"="Kept")", R"("UninstallString"="C:\\Kept\\u.exe")",
                           R"("NoRemove"=dword:00000001)"});

// The user's side of a run: find windows by caption and act on them at given times.
struct User {
  sim::WindowSystem& ws;

  platform::WindowId Window(std::string_view caption) const {
    const platform::WindowId id = ws.FindByCaption(caption);
    EXPECT_NE(id, platform::kNoWindow) << caption;
    return id;
  }
  bool Checked(std::string_view caption) const {
    return ws.SendTo(Window(caption), platform::kBmGetCheck, 0, 0) ==
           static_cast<platform::LResult>(platform::kBstChecked);
  }
  bool DialogOpen() const { return ws.IsVisible(ws.FindByCaption(kDialog)); }
  void Keys(std::int64_t at, std::vector<platform::WParam> keys,
            Modifier modifier = Modifier::kNone) {
    ws.At(at, [this, keys, modifier] {
      for (platform::WParam key : keys) ws.PressKey(key, modifier);
    });
  }
  void Do(std::int64_t at, std::function<void()> action) { ws.At(at, std::move(action)); }
};

TEST(Options, OkRebuildsTheProgramMenusWithTheNewOptions) {
  Program program(kCatalogue);
  program.sim.processes.SetProcesses({"a.exe"});
  sim::WindowSystem& ws = program.sim.windows;
  User user{ws};
  ws.ChooseMenuItem(kOptions, 500);
  user.Do(1000, [&] {
    EXPECT_TRUE(user.DialogOpen());
    EXPECT_FALSE(ws.IsEnabled(user.Window("Tapwise Uninstall"))) << "the main form is disabled";
    EXPECT_EQ(ws.GetFocus(), user.Window(kHideMicrosoft));
  });
  // Space unchecks the first box; Shift+Tab from it wraps round to OK, which Enter presses.
  user.Keys(1000, {platform::kVkSpace});
  user.Keys(1100, {platform::kVkTab}, Modifier::kShift);
  user.Do(1150, [&] { ws.SetCursor({70, 80}); });
  user.Keys(1200, {platform::kVkReturn});
  ws.DismissMenu(700);
  program.Run();

  const auto& popups = ws.Popups();
  ASSERT_EQ(popups.size(), 2u);
  EXPECT_EQ(program.Shown(0, "All Programs"), (Lines{"Foo"}));
  EXPECT_EQ(program.Shown(1, "All Programs"), (Lines{"Foo", "Microsoft Office"}));
  EXPECT_EQ(program.Shown(1, "Kill Process"), program.Shown(0, "Kill Process"));
  EXPECT_EQ(popups[1].time_ms, 1200);
  EXPECT_EQ(popups[1].point, (platform::Point{70, 80}));
  EXPECT_EQ(ws.Now(), popups[1].closed_ms + 3000);
}

TEST(Options, SystemComponentsAndUpdatesListedInTheirPlacesWhileTheBoxIsOn) {
  const std::string hidden =
      Entry(kLm32 + "Helper", {R"("DisplayName"="Foo Helper")", R"("UninstallString"="h.exe")",
                               "\"SystemComponent\"=dword:00000001"}) +
      Entry(kLm32 + "KB1", {R"("DisplayName"="Alpha Fix")", R"("UninstallString"="f.exe")",
                            R"("ParentKeyName"="Alpha")"}) +
      Entry(kLm32 + "Empty", {R"("DisplayName"="Zed")"});
  Program program(kCatalogue + hidden);
  sim::WindowSystem& ws = program.sim.windows;
  constexpr std::string_view kShowAll = "Show system components and updates";
  User user{ws};
  for (const std::int64_t at : {1000, 2000}) {
    ws.ChooseMenuItem(kOptions, 500);
    user.Do(at, [&] {
      ws.Click(user.Window(kShowAll));
      ws.Click(user.Window(kOk));
    });
  }
  ws.DismissMenu(500);
  program.Run();

  ASSERT_EQ(ws.Popups().size(), 3u);
  EXPECT_EQ(program.Shown(0, "All Programs"), (Lines{"Foo"}));
  EXPECT_EQ(program.Shown(1, "All Programs"), (Lines{"Alpha Fix", "Foo Helper", "Foo", "Zed"}));
  EXPECT_EQ(program.Shown(2, "All Programs"), (Lines{"Foo"}));
}

TEST(Options, ClosingWithoutOkKeepsTheMenusAndTheChecksAndTheFocus) {
  Program program(kCatalogue);
  sim::WindowSystem& ws = program.sim.windows;
  User user{ws};
  ws.ChooseMenuItem(kOptions, 500);
  user.Do(1000, [&] { ws.Click(user.Window(kShowNoRemove)); });
  user.Do(1100, [&] { ws.ClickCloseButton(user.Window(kDialog)); });
  ws.ChooseMenuItem(kOptions, 400);  // the menu shown again at 1100
  user.Do(2000, [&] {
    EXPECT_TRUE(user.Checked(kShowNoRemove));
    EXPECT_TRUE(user.Checked(kHideMicrosoft));
    EXPECT_EQ(ws.GetFocus(), user.Window(kShowNoRemove)) << "focus back where it was left";
  });
  // Enter on a check box and Escape do nothing; Alt+F4 closes the dialog.
  user.Keys(2000, {platform::kVkReturn, platform::kVkEscape});
  user.Do(2100, [&] { EXPECT_TRUE(user.DialogOpen()); });
  user.Keys(2200, {platform::kVkF4}, Modifier::kAlt);
  ws.DismissMenu(300);
  program.Run();

  const auto& popups = ws.Popups();
  ASSERT_EQ(popups.size(), 3u);
  EXPECT_EQ(program.Shown(1, "All Programs"), (Lines{"Foo"}));
  EXPECT_EQ(program.Shown(2, "All Programs"), (Lines{"Foo"}));
  EXPECT_EQ(popups[2].time_ms, 2200);
  EXPECT_EQ(ws.Now(), popups[2].closed_ms + 3000);
}

struct FocusCase {
  std::string label;
  std::vector<std::pair<platform::WParam, Modifier>> keys;
  std::string_view focused;
  bool hide_microsoft;
  bool show_no_remove;
  friend void PrintTo(const FocusCase& c, std::ostream* os) { *os << c.label; }
};

class DialogKeysTest : public ::testing::TestWithParam<FocusCase> {};

TEST_P(DialogKeysTest, MoveTheFocusInTabOrderAndToggleWithSpace) {
  const FocusCase& c = GetParam();
  Program program(kCatalogue);
  sim::WindowSystem& ws = program.sim.windows;
  User user{ws};
  ws.ChooseMenuItem(kOptions, 500);
  std::int64_t at = 1000;
  for (const auto& [key, modifier] : c.keys) user.Keys(at += 10, {key}, modifier);
  user.Do(2000, [&] {
    EXPECT_EQ(ws.GetFocus(), user.Window(c.focused));
    EXPECT_EQ(user.Checked(kHideMicrosoft), c.hide_microsoft);
    EXPECT_EQ(user.Checked(kShowNoRemove), c.show_no_remove);
    ws.ClickCloseButton(user.Window(kDialog));
  });
  ws.DismissMenu();
  program.Run();
  EXPECT_EQ(ws.Popups().size(), 2u);
}

constexpr platform::WParam kTab = platform::kVkTab;
constexpr platform::WParam kSpace = platform::kVkSpace;

INSTANTIATE_TEST_SUITE_P(
    Keyboard, DialogKeysTest,
    ::testing::Values(FocusCase{"FirstBoxAtFirst", {}, kHideMicrosoft, true, false},
                      FocusCase{"TabToSecondBoxAndSpace",
                                {{kTab, Modifier::kNone}, {kSpace, Modifier::kNone}},
                                kShowNoRemove,
                                true,
                                true},
                      FocusCase{"TabPassesTheBevelAndWraps",
                                {{kTab, Modifier::kNone},
                                 {kTab, Modifier::kNone},
                                 {kTab, Modifier::kNone},
                                 {kTab, Modifier::kNone}},
                                kHideMicrosoft,
                                true,
                                false},
                      FocusCase{"ShiftTabGoesBack", {{kTab, Modifier::kShift}}, kOk, true, false},
                      FocusCase{"SpaceTwiceRestores",
                                {{kSpace, Modifier::kNone}, {kSpace, Modifier::kNone}},
                                kHideMicrosoft,
                                true,
                                false}),
    [](const auto& info) { return info.param.label; });

// The running auto-close timer ticks at 3500: OK pressed then rebuilds while the tick is due.
TEST(Options, ATickDuringTheRebuildFromOkDoesNotEndTheProgram) {
  Program program(kCatalogue);
  sim::WindowSystem& ws = program.sim.windows;
  User user{ws};
  ws.ChooseMenuItem(kOptions, 500);
  user.Keys(1000, {kTab, kTab, kTab});
  user.Keys(3500, {platform::kVkReturn});
  ws.DismissMenu(1000);
  program.Run();

  ASSERT_EQ(ws.Popups().size(), 2u);
  EXPECT_EQ(ws.UnusedMenuAnswers(), 0u);
  EXPECT_EQ(ws.Popups()[1].closed_ms, 4500);
  EXPECT_EQ(ws.Now(), 7500);
}

struct ModalCase {
  std::string label;
  std::function<void(sim::WindowSystem&)> script;  // keeps the modal window open 60 s
  std::size_t boxes;
  friend void PrintTo(const ModalCase& c, std::ostream* os) { *os << c.label; }
};

class ModalCommandTest : public ::testing::TestWithParam<ModalCase> {};

TEST_P(ModalCommandTest, NeverEndsWhileOpenAndEndsThreeSecondsAfterTheMenuReturns) {
  const ModalCase& c = GetParam();
  Program program(kCatalogue);
  sim::WindowSystem& ws = program.sim.windows;
  c.script(ws);
  ws.DismissMenu(2500);
  program.Run();

  const auto& popups = ws.Popups();
  ASSERT_EQ(popups.size(), 2u);
  EXPECT_EQ(popups[1].time_ms, 60500);
  EXPECT_EQ(ws.Now(), popups[1].closed_ms + 3000);
  EXPECT_EQ(ws.Boxes().size(), c.boxes);
}

INSTANTIATE_TEST_SUITE_P(
    Minute, ModalCommandTest,
    ::testing::Values(ModalCase{"Options",
                                [](sim::WindowSystem& ws) {
                                  ws.ChooseMenuItem(kOptions, 500);
                                  ws.At(60500,
                                        [&ws] { ws.ClickCloseButton(ws.FindByCaption(kDialog)); });
                                },
                                0},
                      ModalCase{"About",
                                [](sim::WindowSystem& ws) {
                                  ws.ChooseMenuItem({"Tapwise Uninstaller", "About..."}, 500);
                                  ws.AnswerBox(platform::kIdOk, 60000);
                                },
                                1}),
    [](const auto& info) { return info.param.label; });

TEST(About, ShowsTheTextOwnedByTheMainForm) {
  Program program;
  sim::WindowSystem& ws = program.sim.windows;
  platform::WindowId main_form = platform::kNoWindow;
  ws.At(0, [&] { main_form = ws.FindByCaption("Tapwise Uninstall"); });
  ws.ChooseMenuItem({"Tapwise Uninstaller", "About..."});
  ws.AnswerBox(platform::kIdOk);
  ws.DismissMenu();
  program.Run();
  ASSERT_EQ(ws.Boxes().size(), 1u);
  const sim::BoxRecord& box = ws.Boxes()[0];
  EXPECT_EQ(box.caption, "About Tapwise Uninstaller");
  EXPECT_EQ(box.style, platform::kMbIconInformation);
  EXPECT_EQ(box.owner, main_form);
  EXPECT_EQ(box.text.rfind("Tapwise Uninstaller v1.9\r\n\r\n", 0), 0u);
  EXPECT_EQ(std::count(box.text.begin(), box.text.end(), '\n'), 4);
}

class WebPageTest : public ::testing::TestWithParam<std::pair<std::string, std::string>> {};

TEST_P(WebPageTest, OpensThePageAndEndsAtOnce) {
  const auto& [caption, address] = GetParam();
  Program program;
  sim::WindowSystem& ws = program.sim.windows;
  ws.ChooseMenuItem({"Tapwise Uninstaller", caption}, 800);
  program.Run();

  const auto& launches = program.sim.launcher.Launches();
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_TRUE(launches[0].through_shell);
  EXPECT_FALSE(launches[0].elevated);
  EXPECT_EQ(launches[0].asked.verb, "open");
  EXPECT_EQ(launches[0].asked.program, address);
  EXPECT_EQ(launches[0].asked.parameters, "");
  EXPECT_EQ(launches[0].asked.show, platform::kSwShowNormalWindow);
  EXPECT_EQ(ws.Now(), 800);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, WebPageTest,
    ::testing::Values(
        std::pair{"Check for Updates",
                  "https://www.quillon-software.com/tapwise-uninstaller/mail.php?ver=1.9"},
        std::pair{"Visit Web Site",
                  "https://www.quillon-software.com/tapwise-uninstaller/?vid=1.9"},
        std::pair{"Send Message", "https://www.quillon-software.com/support.htm?v=1.9"}),
    [](const auto& info) {
      std::string label;
      for (char c : info.param.first) {
        if (std::isalnum(static_cast<unsigned char>(c))) label += c;
      }
      return label;
    });

}  // namespace
