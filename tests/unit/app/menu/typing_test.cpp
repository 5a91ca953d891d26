// Typing into the program's menu, over the substitute window system, which answers keys as
// Windows documents: the generated submenus select the item whose name begins with the text,
// Enter chooses it as a click would, and the fixed menus stay as they are.

#include <gtest/gtest.h>

#include "app/harness.h"

namespace {

using testing_support::Entry;
using testing_support::kLm32;
using testing_support::Program;
using Lines = std::vector<std::string>;

constexpr platform::Date kSomeDate{2020, 1, 1};
constexpr std::int64_t kFirstKeyMs = 1000;
constexpr std::int64_t kKeyGapMs = 100;

// One key: characters typed (WM_CHAR), or a key pressed (WM_KEYDOWN) when vk is set.
struct Key {
  std::u16string typed;
  platform::WParam vk = 0;
  std::int64_t pause_ms = 0;  // before it, on top of the usual gap
};
Key Press(platform::WParam vk) {
  return {u"", vk, 0};
}
Key Type(std::u16string typed, std::int64_t pause_ms = 0) {
  return {std::move(typed), 0, pause_ms};
}

struct TypingRun : Program {
  TypingRun(const Lines& names, const Lines& running) : Program(Catalogue(names)) {
    for (std::size_t i = 0; i < names.size(); ++i) sim.files.AddFile(Uninstaller(i), kSomeDate);
    sim.processes.SetProcesses(running);
  }
  static std::string Uninstaller(std::size_t i) { return "C:\\P" + std::to_string(i) + "\\u.exe"; }
  static std::string Catalogue(const Lines& names) {
    std::string reg;
    for (std::size_t i = 0; i < names.size(); ++i) {
      std::string escaped;
      for (char c : Uninstaller(i)) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
      reg += Entry(kLm32 + "K" + std::to_string(i), {"\"DisplayName\"=\"" + names[i] + "\"",
                                                     "\"UninstallString\"=\"" + escaped + "\""});
    }
    return reg;
  }

  // Types the keys into the menu, one every gap, and notes the selection after each.
  Lines TypeKeys(const std::vector<Key>& keys) {
    sim::WindowSystem& ws = sim.windows;
    ws.AnswerMenuByKeys(60000);
    std::int64_t at = kFirstKeyMs;
    for (const Key& key : keys) {
      at += key.pause_ms;
      ws.At(at, [this, &ws, key] {
        if (key.vk != 0) {
          ws.PressMenuKey(key.vk);
        } else {
          ws.TypeIntoMenu(key.typed);
        }
        std::string path;
        for (const std::string& caption : ws.MenuSelection())
          path += (path.empty() ? "" : " > ") + caption;
        selections.push_back(path);
      });
      at += kKeyGapMs;
    }
    Run();
    return selections;
  }
  // The applications started.
  Lines Started() const {
    Lines started;
    for (const auto& launch : sim.launcher.Launches()) started.push_back(launch.asked.program);
    return started;
  }

  Lines selections;
};

const Lines kNames = {"Adobe Reader",    "AT&T Connect", "Skype",
                      "Slack",           "Spotify",      "Steam",
                      "Visual C++ 2015", "VirtualBox 7", "Visual Studio Code",
                      "VLC media player"};
const Lines kRunning = {"explorer.exe", "notepad.exe", "svchost.exe"};

TEST(Typing, TheGeneratedSubmenusSelectTheNameBeginningWithTheText) {
  const Key down = Press(platform::kVkDown);
  const Key right = Press(platform::kVkRight);
  const struct {
    const char* title;
    std::vector<Key> keys;
    Lines selections;
    std::size_t beeps;
  } cases[] = {
      {"a prefix",
       {down, right, Type(u"vir")},
       {"All Programs", "All Programs > Adobe Reader", "All Programs > VirtualBox 7"},
       0},
      {"the same letter walks its names",
       {down, right, Type(u"s"), Type(u"s"), Type(u"s")},
       {"All Programs", "All Programs > Adobe Reader", "All Programs > Skype",
        "All Programs > Slack", "All Programs > Spotify"},
       0},
      {"backspace, and no match keeps the selection",
       {down, right, Type(u"vix"), Type(u"\b"), Type(u"\b\b")},
       {"All Programs", "All Programs > Adobe Reader", "All Programs > VirtualBox 7",
        "All Programs > VirtualBox 7", "All Programs > VirtualBox 7"},
       1},
      {"a blank inside the text",
       {down, right, Type(u"visual s")},
       {"All Programs", "All Programs > Adobe Reader", "All Programs > Visual Studio Code"},
       0},
      {"an ampersand as shown",
       {down, right, Type(u"at&t")},
       {"All Programs", "All Programs > Adobe Reader", "All Programs > AT&T Connect"},
       0},
      {"a pause starts anew",
       {down, right, Type(u"v"), Type(u"s", 1000)},
       {"All Programs", "All Programs > Adobe Reader", "All Programs > VirtualBox 7",
        "All Programs > Skype"},
       0},
      {"an arrow ends the text",
       {down, right, Type(u"vi"), down, Type(u"s")},
       {"All Programs", "All Programs > Adobe Reader", "All Programs > VirtualBox 7",
        "All Programs > Visual C++ 2015", "All Programs > Skype"},
       0},
      {"Kill Process",
       {Press(platform::kVkUp), Press(platform::kVkUp), Press(platform::kVkUp), right, Type(u"NO")},
       {"Exit", "Tapwise Uninstaller", "Kill Process", "Kill Process > explorer.exe",
        "Kill Process > notepad.exe"},
       0},
      {"the fixed menus are left alone",
       {Press(platform::kVkUp), Press(platform::kVkUp), right, Type(u"a")},
       {"Exit", "Tapwise Uninstaller", "Tapwise Uninstaller > Options...",
        "Tapwise Uninstaller > Options..."},
       1},
      {"a blank without a text is the menu's",
       {down, right, Type(u" ")},
       {"All Programs", "All Programs > Adobe Reader", "All Programs > Adobe Reader"},
       1},
  };
  for (const auto& c : cases) {
    TypingRun run(kNames, kRunning);
    EXPECT_EQ(run.TypeKeys(c.keys), c.selections) << c.title;
    EXPECT_EQ(run.sim.windows.MenuBeeps(), c.beeps) << c.title;
    EXPECT_TRUE(run.Started().empty()) << c.title << ": nothing chosen before Enter";
  }
}

TEST(Typing, EnterStartsTheSelectedProgramAsAClickWould) {
  TypingRun run(kNames, kRunning);
  run.TypeKeys({Press(platform::kVkDown), Press(platform::kVkRight), Type(u"vir"),
                Press(platform::kVkReturn)});
  EXPECT_EQ(run.Started(), Lines{TypingRun::Uninstaller(7)});
}

TEST(Typing, PastTheLimitTheFirstLetterOpensItsGroupAndTheTextGoesOnInside) {
  Lines names = kNames;
  for (std::size_t i = 0; names.size() <= app::kMostProgramsInOneMenu; ++i) {
    names.push_back("Tool " + std::to_string(100000 + i));
  }
  TypingRun run(names, kRunning);
  const Lines selections = run.TypeKeys({Press(platform::kVkDown), Press(platform::kVkRight),
                                         Type(u"v"), Type(u"is"), Press(platform::kVkReturn)});
  // The group opens on its first name, VirtualBox; only the text carried in reaches Visual.
  EXPECT_EQ(selections,
            (Lines{"All Programs", "All Programs > A", "All Programs > V > VirtualBox 7",
                   "All Programs > V > Visual C++ 2015", "All Programs > V > Visual C++ 2015"}));
  EXPECT_EQ(run.Started(), Lines{TypingRun::Uninstaller(6)});
}

}  // namespace
