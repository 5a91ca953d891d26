// Popup menus of the simulated window system: the nested loop and choosing by caption.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sim_windowing.h"
#include "sim/recorder.h"

namespace {

using platform::MenuItemSpec;
using platform::WindowKind;
using sim_test::Kind;
using sim_test::Logged;
using sim_test::Recorder;

constexpr std::uint16_t kAtt = 11;
constexpr std::uint16_t kFoo = 12;
constexpr std::uint16_t kOptions = 21;
constexpr std::uint16_t kAbout = 22;
constexpr std::uint16_t kKillAb = 31;
constexpr std::uint16_t kExit = 40;
constexpr platform::Point kAt{120, -45};

MenuItemSpec Command(const char* caption, std::uint16_t command) {
  MenuItemSpec item;
  item.caption = caption;
  item.command = command;
  return item;
}

MenuItemSpec Submenu(const char* caption, platform::MenuId submenu, bool is_default = false) {
  MenuItemSpec item;
  item.kind = MenuItemSpec::Kind::kSubmenu;
  item.caption = caption;
  item.submenu = submenu;
  item.is_default = is_default;
  return item;
}

MenuItemSpec Separator() {
  MenuItemSpec item;
  item.kind = MenuItemSpec::Kind::kSeparator;
  item.caption = "-";
  return item;
}

class SimMenus : public ::testing::Test {
 protected:
  // The program's menu in miniature, captions as handed to the platform.
  platform::MenuId BuildMenu() {
    const platform::MenuId all = ws.CreatePopupMenu();
    ws.AppendMenuItem(all, Command("AT&&T Connect", kAtt));
    ws.AppendMenuItem(all, Command("Foo", kFoo));
    const platform::MenuId recent = ws.CreatePopupMenu();
    const platform::MenuId kill = ws.CreatePopupMenu();
    ws.AppendMenuItem(kill, Command("A&B.exe", kKillAb));
    const platform::MenuId about = ws.CreatePopupMenu();
    ws.AppendMenuItem(about, Command("Options...", kOptions));
    ws.AppendMenuItem(about, Separator());
    ws.AppendMenuItem(about, Command("About...", kAbout));
    const platform::MenuId root = ws.CreatePopupMenu();
    ws.AppendMenuItem(root, Submenu("All Programs", all));
    ws.AppendMenuItem(root, Submenu("Recent Programs", recent, true));
    ws.AppendMenuItem(root, Separator());
    ws.AppendMenuItem(root, Submenu("Kill Process", kill));
    ws.AppendMenuItem(root, Separator());
    ws.AppendMenuItem(root, Submenu("Tapwise Uninstaller", about));
    ws.AppendMenuItem(root, Command("E&xit", kExit));
    submenus_ = {all, recent, kill, about};
    return root;
  }
  std::vector<platform::MenuId> submenus_;
  const std::vector<std::size_t> positions_{0, 1, 3, 5};

  // Pops the menu up and returns the command posted to the owner, if any.
  std::optional<platform::WParam> Track() {
    EXPECT_TRUE(ws.TrackPopupMenu(menu, platform::kTpmRightButton, kAt, owner));
    std::optional<platform::WParam> command;
    platform::Message m;
    while (ws.PeekNext(m)) {
      if (m.window == owner && m.id == platform::kWmCommand) command = m.wparam;
    }
    return command;
  }

  sim::WindowSystem ws;
  Recorder recorder{ws};
  platform::WindowId owner = ws.NewWindow(Kind(WindowKind::kMessageOnly), &recorder);
  platform::MenuId menu = BuildMenu();
};

TEST_F(SimMenus, TheMenuLoopSendsItsMessagesInOrderAndTicksTimersInside) {
  Recorder ticker(ws);
  const platform::WindowId timer_window = ws.NewWindow(Kind(WindowKind::kMessageOnly), &ticker);
  ws.At(1000, [&] {
    ws.SetTimer(timer_window, 1, 30);
    ws.ChooseMenuItem({"Tapwise Uninstaller", "Options..."}, 100);
    ws.PostTo(owner, platform::kWmUser, 5, 0);
    EXPECT_TRUE(ws.TrackPopupMenu(menu, platform::kTpmRightButton, kAt, owner));
  });
  ws.WaitMessage();

  // The user opens each submenu, in menu order, before answering.
  const auto opened = [&](std::size_t index) {
    return Logged{1000, owner, platform::kWmInitMenuPopup, submenus_[index],
                  static_cast<platform::LParam>(positions_[index])};
  };
  EXPECT_EQ(recorder.log, (std::vector<Logged>{
                              {1000, owner, platform::kWmEnterMenuLoop, 1, 0},
                              opened(0),
                              opened(1),
                              opened(2),
                              opened(3),
                              {1000, owner, platform::kWmUser, 5, 0},
                              {1100, owner, platform::kWmMenuSelect, 0xFFFF0000, 0},
                              {1100, owner, platform::kWmExitMenuLoop, 1, 0},
                          }));
  std::vector<std::int64_t> ticks;
  for (const Logged& m : ticker.Only(platform::kWmTimer)) ticks.push_back(m.time_ms);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{1030, 1060, 1090}));

  // The chosen command is posted, to run after the menu call has returned.
  platform::Message m;
  ASSERT_TRUE(ws.PeekNext(m));
  EXPECT_EQ(m.window, owner);
  EXPECT_EQ(m.id, platform::kWmCommand);
  EXPECT_EQ(m.wparam, kOptions);

  ASSERT_EQ(ws.Popups().size(), 1u);
  const sim::PopupRecord& popup = ws.Popups()[0];
  EXPECT_EQ(popup.time_ms, 1000);
  EXPECT_EQ(popup.closed_ms, 1100);
  EXPECT_EQ(popup.point, kAt);
  EXPECT_EQ(popup.flags, platform::kTpmRightButton);
  EXPECT_EQ(popup.owner, owner);
}

TEST_F(SimMenus, ChoosingFollowsDisplayedCaptions) {
  struct Case {
    std::vector<std::string> path;
    std::optional<platform::WParam> command;
  };
  const std::vector<Case> cases = {
      {{"All Programs", "AT&T Connect"}, kAtt},
      {{"All Programs", "Foo"}, kFoo},
      {{"Kill Process", "AB.exe"}, kKillAb},
      {{"Tapwise Uninstaller", "About..."}, kAbout},
      {{"Exit"}, kExit},
      // A submenu item without children is a plain item that carries no command.
      {{"Recent Programs"}, std::nullopt},
  };
  for (const Case& c : cases) {
    ws.ChooseMenuItem(c.path);
    EXPECT_EQ(Track(), c.command) << c.path.back();
  }
  ws.DismissMenu();
  EXPECT_EQ(Track(), std::nullopt);
  EXPECT_EQ(recorder.Only(platform::kWmMenuSelect).size(), cases.size() + 1);
}

TEST_F(SimMenus, APickerChoosesFromTheMenuAsShown) {
  // The last item of the first submenu, whatever it is; then nothing.
  const auto last_of_first = [](const std::vector<sim::MenuNode>& shown) {
    return std::vector<std::string>{shown.front().displayed,
                                    shown.front().children.back().displayed};
  };
  const auto nothing = [](const std::vector<sim::MenuNode>&) { return std::vector<std::string>{}; };
  ws.PickMenuItem(last_of_first);
  EXPECT_EQ(Track(), kFoo);
  ws.PickMenuItem(nothing);
  EXPECT_EQ(Track(), std::nullopt);
}

TEST_F(SimMenus, PathsThatChooseNothingAreScriptErrors) {
  struct Case {
    std::vector<std::string> path;
    const char* mentions;
  };
  const std::vector<Case> cases = {
      {{"Nope"}, "\"All Programs\", \"Recent Programs\", -, \"Kill Process\""},
      {{"All Programs"}, "opens a submenu"},
      {{"All Programs", "AT&&T Connect"}, "\"AT&T Connect\", \"Foo\""},
      {{"Exit", "More"}, "is not a submenu"},
      {{"E&xit"}, "\"Exit\""},
      {{"-"}, "no menu item"},
      {{}, "empty menu path"},
  };
  for (const Case& c : cases) {
    ws.ChooseMenuItem(c.path);
    try {
      ws.TrackPopupMenu(menu, 0, kAt, owner);
      ADD_FAILURE() << "chosen: " << ::testing::PrintToString(c.path);
    } catch (const sim::ScriptError& error) {
      EXPECT_NE(error.what.find(c.mentions), std::string::npos) << error;
    }
  }
}

TEST_F(SimMenus, AMenuWithoutAnAnswerIsAScriptError) {
  EXPECT_THROW(ws.TrackPopupMenu(menu, 0, kAt, owner), sim::ScriptError);
  // The failed pop-up does not leave a menu open.
  ws.DismissMenu();
  EXPECT_TRUE(ws.TrackPopupMenu(menu, 0, kAt, owner));
}

TEST_F(SimMenus, APendingQuitClosesTheMenuAtOnceWithoutAChoice) {
  struct Case {
    const char* label;
    std::int64_t quit_at;
    std::int64_t closed_at;
  };
  const Case cases[] = {{"quit before", -1, 0}, {"quit during", 40, 40}};
  for (const Case& c : cases) {
    sim::WindowSystem fresh;
    Recorder log(fresh);
    const platform::WindowId window = fresh.NewWindow(Kind(WindowKind::kMessageOnly), &log);
    const platform::MenuId m = fresh.CreatePopupMenu();
    fresh.AppendMenuItem(m, Command("Exit", kExit));
    if (c.quit_at < 0) fresh.PostQuit(4);
    if (c.quit_at >= 0) fresh.At(c.quit_at, [&] { fresh.PostQuit(4); });
    fresh.ChooseMenuItem({"Exit"}, 100);
    EXPECT_TRUE(fresh.TrackPopupMenu(m, 0, kAt, window)) << c.label;
    EXPECT_EQ(fresh.Popups().at(0).closed_ms, c.closed_at) << c.label;
    EXPECT_EQ(log.Only(platform::kWmExitMenuLoop).size(), 1u) << c.label;
    platform::Message next;
    ASSERT_TRUE(fresh.PeekNext(next)) << c.label;
    EXPECT_EQ(next.id, platform::kWmQuit) << c.label;
    EXPECT_EQ(next.wparam, 4u) << c.label;
  }
}

TEST_F(SimMenus, TheRecordKeepsTheMenuAsShown) {
  ws.DismissMenu(0);
  Track();
  const auto& items = ws.Popups().at(0).items;
  ASSERT_EQ(items.size(), 7u);
  EXPECT_EQ(items[1].kind, sim::MenuNode::Kind::kSubmenu);
  EXPECT_TRUE(items[1].is_default);
  EXPECT_TRUE(items[1].children.empty());
  EXPECT_EQ(items[2].kind, sim::MenuNode::Kind::kSeparator);
  EXPECT_EQ(items[6].caption, "E&xit");
  EXPECT_EQ(items[6].displayed, "Exit");
  const sim::MenuNode* att = sim::Find(items, {"All Programs", "AT&T Connect"});
  ASSERT_NE(att, nullptr);
  EXPECT_EQ(att->caption, "AT&&T Connect");
  EXPECT_EQ(att->command, kAtt);
  EXPECT_EQ(sim::Find(items, {"All Programs", "Bar"}), nullptr);
  EXPECT_EQ(sim::Find(items, {"Exit", "Deeper"}), nullptr);
  // Destroying the menu afterwards does not change the record.
  ws.DestroyMenu(menu);
  EXPECT_EQ(ws.Popups().at(0).items.size(), 7u);
}

TEST(SimMenuModel, DisplayedCaptions) {
  const std::pair<const char*, const char*> cases[] = {
      {"Plain", "Plain"}, {"&File", "File"}, {"AT&&T", "AT&T"}, {"a&&&b", "a&b"},
      {"end&", "end"},    {"&&", "&"},       {"&&&&", "&&"},    {"", ""},
  };
  for (const auto& [caption, displayed] : cases) {
    EXPECT_EQ(sim::DisplayedCaption(caption), displayed) << caption;
  }
}

TEST_F(SimMenus, MenusOwnTheirSubmenus) {
  EXPECT_EQ(ws.LiveMenuCount(), 5u);
  const platform::MenuId loose = ws.CreatePopupMenu();
  EXPECT_FALSE(ws.AppendMenuItem(loose, Submenu("Self", loose)));
  EXPECT_FALSE(ws.AppendMenuItem(loose, Submenu("Unknown", 0xBAD)));
  EXPECT_FALSE(ws.AppendMenuItem(0xBAD, Command("X", 1)));
  EXPECT_TRUE(ws.AppendMenuItem(loose, Submenu("Root", menu)));
  EXPECT_FALSE(ws.AppendMenuItem(menu, Submenu("Cycle", loose)));
  ws.DestroyMenu(loose);
  EXPECT_EQ(ws.LiveMenuCount(), 0u);
  EXPECT_FALSE(ws.TrackPopupMenu(menu, 0, kAt, owner));
  ws.FailMenuCreation(true);
  EXPECT_EQ(ws.CreatePopupMenu(), platform::kNoMenu);
}

TEST_F(SimMenus, OnlyOneMenuAtATime) {
  bool nested_result = true;
  ws.At(10, [&] {
    const platform::MenuId other = ws.CreatePopupMenu();
    nested_result = ws.TrackPopupMenu(other, 0, kAt, owner);
    ws.DestroyMenu(other);
  });
  ws.DismissMenu(50);
  Track();
  EXPECT_FALSE(nested_result);
  EXPECT_EQ(ws.Popups().size(), 1u);
}

}  // namespace
