// Keys typed into an open menu of the simulated window system. It stands in for what Windows
// documents, and what typing in the program's menus relies on:
// - a key that matches no access key sends WM_MENUCHAR to the owner, with the menu it was
//   typed into;
// - the answer MNC_SELECT selects the item at its low word (WM_MENUSELECT follows), MNC_EXECUTE
//   chooses it, and a submenu chosen opens with its first item selected; MNC_IGNORE beeps;
// - the message filter of menus (WH_MSGFILTER, MSGF_MENU) sees every key first and may keep it.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sim_windowing.h"
#include "sim/recorder.h"

namespace {

using platform::MenuItemSpec;
using platform::WindowKind;

constexpr std::uint16_t kAlpha = 11;
constexpr std::uint16_t kBeta = 12;
constexpr std::uint16_t kGamma = 13;
constexpr std::uint16_t kMenuCharFlags = 0x0010;  // MF_POPUP
constexpr std::uint16_t kMncExecute = 2;
constexpr std::uint16_t kMncSelect = 3;

MenuItemSpec Command(const char* caption, std::uint16_t command) {
  MenuItemSpec item;
  item.caption = caption;
  item.command = command;
  return item;
}

// The owner answers WM_MENUCHAR as told, and remembers what it was asked.
class Owner : public platform::WindowHandler, public platform::MenuKeyFilter {
 public:
  explicit Owner(sim::WindowSystem& ws) : ws_(ws) {}
  platform::LResult HandleMessage(platform::WindowId window, platform::MessageId id,
                                  platform::WParam wparam, platform::LParam lparam) override {
    if (id == platform::kWmMenuChar) {
      asked.push_back({platform::LoWord(wparam), platform::HiWord(wparam), lparam});
      if (answer) return answer(platform::LoWord(wparam));
    }
    if (id == platform::kWmInitMenuPopup) opened.push_back(static_cast<platform::MenuId>(wparam));
    return ws_.DefaultProc(window, id, wparam, lparam);
  }
  bool FilterMenuKey(platform::MessageId id, platform::WParam key) override {
    filtered.push_back({id, key});
    return keep && keep(id, key);
  }

  struct Asked {
    std::uint16_t key;
    std::uint16_t flags;
    platform::LParam menu;
    friend bool operator==(const Asked&, const Asked&) = default;
  };
  std::vector<Asked> asked;
  std::vector<platform::MenuId> opened;
  std::vector<std::pair<platform::MessageId, platform::WParam>> filtered;
  std::function<platform::LResult(std::uint16_t key)> answer;
  std::function<bool(platform::MessageId, platform::WParam)> keep;

 private:
  sim::WindowSystem& ws_;
};

class SimMenuKeys : public ::testing::Test {
 protected:
  SimMenuKeys() {
    ws.AppendMenuItem(sub, Command("Alpha", kAlpha));
    ws.AppendMenuItem(sub, Command("Beta", kBeta));
    MenuItemSpec submenu;
    submenu.kind = MenuItemSpec::Kind::kSubmenu;
    submenu.caption = "Programs";
    submenu.submenu = sub;
    ws.AppendMenuItem(root, submenu);
    ws.AppendMenuItem(root, Command("&Gamma", kGamma));
    ws.SetMenuKeyFilter(&handler);
  }

  // Pops the menu up, runs the keys 100 ms later, and returns the command chosen.
  std::optional<platform::WParam> Track(const std::function<void()>& keys) {
    ws.AnswerMenuByKeys(5000);
    ws.At(100, [&] {
      keys();
      selection = ws.MenuSelection();
    });
    EXPECT_TRUE(ws.TrackPopupMenu(root, platform::kTpmRightButton, {}, owner));
    std::optional<platform::WParam> command;
    platform::Message m;
    while (ws.PeekNext(m)) {
      if (m.id == platform::kWmCommand) command = m.wparam;
    }
    return command;
  }
  void OpenPrograms() {
    ws.PressMenuKey(platform::kVkDown);
    ws.PressMenuKey(platform::kVkRight);
  }

  sim::WindowSystem ws;
  Owner handler{ws};
  platform::WindowId owner = ws.NewWindow(sim_test::Kind(WindowKind::kMessageOnly), &handler);
  platform::MenuId sub = ws.CreatePopupMenu();
  platform::MenuId root = ws.CreatePopupMenu();
  std::vector<std::string> selection;
};

TEST_F(SimMenuKeys, AKeyWithoutAccessKeyAsksTheOwnerWhoseAnswerTheMenuFollows) {
  const struct {
    const char* title;
    std::uint16_t answer;  // the high word; the low word is position 1
    std::vector<std::string> selection;
    std::optional<platform::WParam> command;
    std::size_t beeps;
  } cases[] = {
      {"MNC_SELECT selects, nothing chosen", kMncSelect, {"Programs", "Beta"}, std::nullopt, 0},
      {"MNC_EXECUTE chooses", kMncExecute, {"Programs", "Beta"}, kBeta, 0},
      {"MNC_IGNORE beeps", 0, {"Programs", "Alpha"}, std::nullopt, 1},
  };
  for (const auto& c : cases) {
    handler.asked.clear();
    handler.answer = [&](std::uint16_t) { return platform::MakeWParam(1, c.answer); };
    const std::size_t beeps = ws.MenuBeeps();
    EXPECT_EQ(Track([&] {
                OpenPrograms();
                ws.TypeIntoMenu(u"b");
              }),
              c.command)
        << c.title;
    EXPECT_EQ(selection, c.selection) << c.title;
    EXPECT_EQ(ws.MenuBeeps() - beeps, c.beeps) << c.title;
    EXPECT_EQ(
        handler.asked,
        (std::vector<Owner::Asked>{{u'b', kMenuCharFlags, static_cast<platform::LParam>(sub)}}))
        << c.title;
  }
}

TEST_F(SimMenuKeys, AnAccessKeyChoosesWithoutAskingAndExecuteOpensASubmenu) {
  EXPECT_EQ(Track([&] { ws.TypeIntoMenu(u"g"); }), kGamma);
  EXPECT_TRUE(handler.asked.empty());

  handler.answer = [](std::uint16_t) { return platform::MakeWParam(0, kMncExecute); };
  EXPECT_EQ(Track([&] { ws.TypeIntoMenu(u"p"); }), std::nullopt);
  EXPECT_EQ(handler.opened, std::vector<platform::MenuId>{sub});
  EXPECT_EQ(selection, (std::vector<std::string>{"Programs", "Alpha"}));
}

TEST_F(SimMenuKeys, TheFilterSeesEveryKeyFirstAndWhatItKeepsTheMenuNeverSees) {
  handler.keep = [](platform::MessageId id, platform::WParam key) {
    return id == platform::kWmChar && key == u' ';
  };
  handler.answer = [](std::uint16_t) { return platform::MakeWParam(1, kMncSelect); };
  EXPECT_EQ(Track([&] {
              OpenPrograms();
              ws.TypeIntoMenu(u" x\b");
            }),
            std::nullopt);
  EXPECT_EQ(handler.filtered, (std::vector<std::pair<platform::MessageId, platform::WParam>>{
                                  {platform::kWmKeyDown, platform::kVkDown},
                                  {platform::kWmKeyDown, platform::kVkRight},
                                  {platform::kWmChar, u' '},
                                  {platform::kWmChar, u'x'},
                                  {platform::kWmChar, u'\b'}}));
  // The blank was kept; Backspace, a control character, asks nothing.
  ASSERT_EQ(handler.asked.size(), 1u);
  EXPECT_EQ(handler.asked[0].key, u'x');

  // A selection for a kept key lands in the open menu all the same.
  handler.keep = [&](platform::MessageId id, platform::WParam key) {
    if (id != platform::kWmChar || key != u'\b') return false;
    ws.SelectInOpenMenu(owner, sub, 1);
    return true;
  };
  Track([&] {
    OpenPrograms();
    ws.TypeIntoMenu(u"\b");
  });
  EXPECT_EQ(selection, (std::vector<std::string>{"Programs", "Beta"}));
}

TEST_F(SimMenuKeys, EnterChoosesTheSelectionAndEscapeClosesOneMenuAtATime) {
  EXPECT_EQ(Track([&] {
              OpenPrograms();
              ws.PressMenuKey(platform::kVkDown);
              ws.PressMenuKey(platform::kVkReturn);
            }),
            kBeta);
  EXPECT_EQ(Track([&] {
              OpenPrograms();
              ws.PressMenuKey(platform::kVkEscape);
            }),
            std::nullopt);
  EXPECT_EQ(selection, (std::vector<std::string>{"Programs"}));
  EXPECT_EQ(ws.Popups().back().closed_ms - ws.Popups().back().time_ms, 5000);
}

}  // namespace
