// Windows, activation, focus and message boxes of the simulated window system.

#include <gtest/gtest.h>

#include <vector>

#include "platform/sim/sim_windowing.h"
#include "sim/recorder.h"

namespace {

using platform::WindowId;
using platform::WindowKind;
using sim_test::Kind;
using sim_test::Logged;
using sim_test::Recorder;

class SimWindows : public ::testing::Test {
 protected:
  sim::WindowSystem ws;
  Recorder log{ws};
  WindowId app = ws.NewWindow(Kind(WindowKind::kApplication), &log);
  WindowId form1 = ws.NewWindow(Kind(WindowKind::kForm, app), &log);
  WindowId form2 = ws.NewWindow(Kind(WindowKind::kForm, app), &log);
};

TEST_F(SimWindows, ShowingATopLevelWindowActivatesItSynchronously) {
  EXPECT_FALSE(ws.ShowWindow(form1, platform::kSwShowNormalWindow));
  EXPECT_FALSE(ws.ShowWindow(form2, platform::kSwShow));
  EXPECT_TRUE(ws.ShowWindow(form2, platform::kSwShow));
  const auto l = [](WindowId w) { return static_cast<platform::LParam>(w); };
  EXPECT_EQ(log.log, (std::vector<Logged>{
                         {0, form1, platform::kWmActivate, platform::kWaActive, 0},
                         {0, form1, platform::kWmSetFocus, 0, 0},
                         {0, form1, platform::kWmActivate, platform::kWaInactive, l(form2)},
                         {0, form2, platform::kWmActivate, platform::kWaActive, l(form1)},
                         {0, form1, platform::kWmKillFocus, form2, 0},
                         {0, form2, platform::kWmSetFocus, form1, 0},
                     }));
  EXPECT_EQ(ws.ActiveWindow(), form2);
  EXPECT_EQ(ws.GetFocus(), form2);
}

TEST_F(SimWindows, ShowStatesThatDoNotActivate) {
  struct Case {
    WindowKind kind;
    int show;
    bool activates;
  };
  const Case cases[] = {
      {WindowKind::kForm, platform::kSwShowNormalWindow, true},
      {WindowKind::kForm, platform::kSwShowMaximized, true},
      {WindowKind::kApplication, platform::kSwShow, true},
      {WindowKind::kForm, 4 /*SW_SHOWNOACTIVATE*/, false},
      {WindowKind::kApplication, platform::kSwShowMinNoActive, false},
      {WindowKind::kForm, 8 /*SW_SHOWNA*/, false},
      {WindowKind::kMessageOnly, platform::kSwShow, false},
      {WindowKind::kButton, platform::kSwShow, false},
  };
  for (const Case& c : cases) {
    sim::WindowSystem fresh;
    const WindowId window = fresh.NewWindow(Kind(c.kind), nullptr);
    fresh.ShowWindow(window, c.show);
    EXPECT_TRUE(fresh.IsVisible(window)) << c.show;
    EXPECT_EQ(fresh.ActiveWindow() == window, c.activates) << c.show;
    EXPECT_EQ(fresh.LastShowState(window), c.show);
  }
}

TEST_F(SimWindows, HidingTheActiveWindowDeactivatesIt) {
  ws.ShowWindow(form1, platform::kSwShowNormalWindow);
  log.log.clear();
  EXPECT_FALSE(ws.ShowWindow(app, platform::kSwHideWindow));
  EXPECT_TRUE(log.log.empty());
  EXPECT_TRUE(ws.ShowWindow(form1, platform::kSwHideWindow));
  EXPECT_EQ(log.log, (std::vector<Logged>{
                         {0, form1, platform::kWmActivate, platform::kWaInactive, 0},
                         {0, form1, platform::kWmKillFocus, 0, 0},
                     }));
  EXPECT_EQ(ws.ActiveWindow(), platform::kNoWindow);
  EXPECT_EQ(ws.GetFocus(), platform::kNoWindow);
  EXPECT_FALSE(ws.IsVisible(form1));
}

TEST_F(SimWindows, DestroyingTakesOwnedWindowsFirstAndControlsAfter) {
  const WindowId button = ws.NewWindow(Kind(WindowKind::kButton, form1), &log);
  ws.SetTimer(form1, 1, 100);
  ws.DestroyWindow(app);
  std::vector<WindowId> destroyed;
  for (const Logged& m : log.Only(platform::kWmDestroy)) destroyed.push_back(m.window);
  EXPECT_EQ(destroyed, (std::vector<WindowId>{form1, button, form2, app}));
  EXPECT_TRUE(ws.Windows().empty());
  EXPECT_EQ(ws.ActiveTimerCount(), 0u);
  EXPECT_EQ(ws.SendTo(form1, platform::kWmUser, 0, 0), 0);
  EXPECT_FALSE(ws.PostTo(form1, platform::kWmUser, 0, 0));
  ws.DestroyWindow(app);  // already gone: nothing happens
}

TEST_F(SimWindows, CheckBoxesKeepTheirStateAndWindowsTheirFlags) {
  const WindowId box = ws.NewWindow(Kind(WindowKind::kCheckBox, form1), nullptr);
  EXPECT_EQ(ws.SendTo(box, platform::kBmGetCheck, 0, 0), 0);
  ws.SendTo(box, platform::kBmSetCheck, platform::kBstChecked, 0);
  EXPECT_EQ(ws.SendTo(box, platform::kBmGetCheck, 0, 0), 1);
  const WindowId button = ws.NewWindow(Kind(WindowKind::kButton, form1), nullptr);
  ws.SendTo(button, platform::kBmSetCheck, platform::kBstChecked, 0);
  EXPECT_EQ(ws.SendTo(button, platform::kBmGetCheck, 0, 0), 0);

  EXPECT_FALSE(ws.EnableWindow(form1, false));
  EXPECT_FALSE(ws.IsEnabled(form1));
  EXPECT_TRUE(ws.EnableWindow(form1, false));
  EXPECT_TRUE(ws.EnableWindow(form1, true));
  EXPECT_TRUE(ws.IsEnabled(form1));

  ws.SetCaption(form1, "Tapwise Uninstall");
  ASSERT_NE(ws.SpecOf(form1), nullptr);
  EXPECT_EQ(ws.SpecOf(form1)->caption, "Tapwise Uninstall");
  EXPECT_EQ(ws.SpecOf(form1)->parent, app);
  EXPECT_EQ(ws.SpecOf(0xBAD), nullptr);
}

TEST_F(SimWindows, CursorAndStartupState) {
  platform::Point point{7, 7};
  EXPECT_TRUE(ws.GetCursorPos(point));
  EXPECT_EQ(point, (platform::Point{0, 0}));
  ws.SetCursor({300, -20});
  ws.FailCursorRead(true);
  EXPECT_FALSE(ws.GetCursorPos(point));
  EXPECT_EQ(point, (platform::Point{0, 0}));
  ws.FailCursorRead(false);
  EXPECT_TRUE(ws.GetCursorPos(point));
  EXPECT_EQ(point, (platform::Point{300, -20}));
  EXPECT_EQ(ws.StartupShowState(), platform::kSwShowNormalWindow);
  ws.SetStartupShowState(platform::kSwShowMinNoActive);
  EXPECT_EQ(ws.StartupShowState(), platform::kSwShowMinNoActive);
}

TEST_F(SimWindows, BoxesReturnTheScriptedAnswerAfterItsDelay) {
  ws.SetTimer(form1, 1, 40);
  ws.AnswerBox(platform::kIdYes, 250);
  EXPECT_EQ(ws.ShowMessageBox(form1, "Still there?", "Tapwise Uninstaller",
                              platform::kMbYesNo | platform::kMbIconInformation),
            platform::kIdYes);
  EXPECT_EQ(ws.Now(), 250);
  EXPECT_EQ(log.Only(platform::kWmTimer).size(), 6u);
  ASSERT_EQ(ws.Boxes().size(), 1u);
  const sim::BoxRecord& box = ws.Boxes()[0];
  EXPECT_EQ(box.time_ms, 0);
  EXPECT_EQ(box.closed_ms, 250);
  EXPECT_EQ(box.owner, form1);
  EXPECT_EQ(box.text, "Still there?");
  EXPECT_EQ(box.caption, "Tapwise Uninstaller");
  EXPECT_EQ(box.answer, platform::kIdYes);
  EXPECT_THROW(ws.ShowMessageBox(form1, "Unscripted", "X", platform::kMbOk), sim::ScriptError);
}

TEST_F(SimWindows, APendingQuitClosesABoxWithItsDefaultAnswer) {
  struct Case {
    std::uint32_t style;
    int answer;
  };
  const Case cases[] = {
      {platform::kMbOk | platform::kMbIconError, platform::kIdOk},
      {platform::kMbYesNo, platform::kIdNo},
      {0x01 /*MB_OKCANCEL*/, platform::kIdCancel},
  };
  for (const Case& c : cases) {
    sim::WindowSystem fresh;
    fresh.PostQuit(0);
    fresh.AnswerBox(platform::kIdYes, 1000);
    EXPECT_EQ(fresh.ShowMessageBox(platform::kNoWindow, "t", "c", c.style), c.answer);
    EXPECT_EQ(fresh.Now(), 0);
    EXPECT_TRUE(fresh.QuitPending());
  }
}

}  // namespace
