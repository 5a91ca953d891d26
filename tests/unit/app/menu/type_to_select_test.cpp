// Typing the first letters of a name into a generated submenu: the rule alone, key by key, over
// the substitute's case fold.

#include "app/menu/type_to_select.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/menu/list_typing.h"
#include "platform/sim/sim_text_order.h"
#include "platform/text.h"
#include "platform/wtf8.h"

namespace {

using Action = framework::TMenuTyping::Answer::Action;
using Key = framework::TMenuTyping::Key;
using Names = std::vector<std::string>;

constexpr char kBackspace[] = "\b";

struct Step {
  std::int64_t at_ms;
  std::string typed;     // one character, or kBackspace
  std::string expected;  // the name selected, "open NAME" for a group, "" when the menu decides
};

// What the answer did, in the words of the table.
std::string Outcome(const Names& names, const framework::TMenuTyping::Answer& answer) {
  switch (answer.action) {
    case Action::kSelect:
      return names.at(answer.position);
    case Action::kOpen:
      return "open " + names.at(answer.position);
    case Action::kNone:
      break;
  }
  return "";
}

Key KeyOf(const Step& step) {
  if (step.typed == kBackspace) return {Key::Kind::kBackspace, 0, step.at_ms};
  return {Key::Kind::kCharacter, text::wtf8_detail::DecodeAt(step.typed, 0).code_point, step.at_ms};
}

void RunSteps(const char* title, const Names& names, app::ListKind kind,
              const std::vector<Step>& steps) {
  const sim::CaselessOrder fold;
  app::TypedText state;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const app::TypeStep step = app::TypeToSelect(names, kind, state, KeyOf(steps[i]), fold);
    EXPECT_EQ(Outcome(names, step.answer), steps[i].expected)
        << title << ", key " << i << " \"" << steps[i].typed << "\" at " << steps[i].at_ms;
    state = step.state;
  }
}

const Names kPrograms = {
    "7-Zip",   "Adobe Reader",    "AT&T Connect", "Skype",           "Slack",
    "Spotify", "Steam",           "VirtualBox 7", "Visual C++ 2015", "Visual Studio Code",
    "Vivaldi", "VLC media player"};

TEST(TypeToSelect, KeysSelectTheFirstNameBeginningWithTheText) {
  const struct {
    const char* title;
    Names names;
    std::vector<Step> steps;
  } cases[] = {
      {"prefix, any letter case",
       kPrograms,
       {{0, "v", "VirtualBox 7"},
        {100, "I", "VirtualBox 7"},
        {200, "s", "Visual C++ 2015"},
        {300, "u", "Visual C++ 2015"}}},
      {"a digit", kPrograms, {{0, "7", "7-Zip"}}},
      {"backspace after a pause is the menu's",
       kPrograms,
       {{0, "v", "VirtualBox 7"}, {10, "i", "VirtualBox 7"}, {2000, kBackspace, ""}}},
      {"an ampersand counts as shown",
       kPrograms,
       {{0, "a", "Adobe Reader"}, {10, "t", "AT&T Connect"}, {20, "&", "AT&T Connect"}}},
      {"no match keeps the selection, and the text",
       kPrograms,
       {{0, "v", "VirtualBox 7"},
        {10, "x", ""},
        {20, kBackspace, "VirtualBox 7"},
        {30, "l", "VLC media player"}}},
      {"a pause starts the text anew",
       kPrograms,
       {{0, "v", "VirtualBox 7"},
        {1000, "l", "VLC media player"},
        {2001, "a", "Adobe Reader"},
        {2500, "d", "Adobe Reader"},
        {4000, "s", "Skype"}}},
      {"the same letter again walks its names, wrapping around",
       kPrograms,
       {{0, "s", "Skype"},
        {10, "s", "Slack"},
        {20, "S", "Spotify"},
        {30, "s", "Steam"},
        {40, "s", "Skype"},
        {2000, "s", "Skype"}}},
      {"a letter with no names walks nowhere", kPrograms, {{0, "q", ""}, {10, "q", ""}}},
      {"backspace takes off the last letter and selects again",
       kPrograms,
       {{0, "v", "VirtualBox 7"},
        {10, "i", "VirtualBox 7"},
        {20, "s", "Visual C++ 2015"},
        {30, kBackspace, "VirtualBox 7"},
        {40, kBackspace, "VirtualBox 7"},
        {50, kBackspace, ""},
        {60, kBackspace, ""},
        {70, "s", "Skype"}}},
      {"backspace after a pause is the menu's",
       kPrograms,
       {{0, "s", "Skype"}, {1500, kBackspace, ""}}},
      {"a blank inside the text",
       kPrograms,
       {{0, "v", "VirtualBox 7"},
        {10, "i", "VirtualBox 7"},
        {20, "s", "Visual C++ 2015"},
        {30, "u", "Visual C++ 2015"},
        {40, "a", "Visual C++ 2015"},
        {50, "l", "Visual C++ 2015"},
        {60, " ", "Visual C++ 2015"},
        {70, "s", "Visual Studio Code"}}},
      {"a blank with no text is the menu's",
       kPrograms,
       {{0, " ", ""}, {10, "s", "Skype"}, {2000, " ", ""}}},
      {"separators match nothing", {"", "Tool", "", "Tea"}, {{0, "t", "Tool"}, {10, "e", "Tea"}}},
      {"letters beyond ASCII fold as the locale does",
       {"Straße Navi", "Ströme", "Über Tool", "Éclair", "Яндекс Браузер", "ясно"},
       {{0, "é", "Éclair"},
        {1100, "Ü", "Über Tool"},
        {2200, "ü", "Über Tool"},
        {2300, "B", "Über Tool"},
        {3400, "я", "Яндекс Браузер"},
        {3500, "С", "ясно"},
        {4600, "s", "Straße Navi"},
        {4700, "t", "Straße Navi"},
        {4800, "R", "Straße Navi"},
        {4900, "ö", "Ströme"}}},
      {"names that are no UTF-8 match only as far as they are",
       {"\xFF\xFE"
        "abc",
        "ab\xC3", "abc", "\xE2\x82"},
       {{0, "a", "ab\xC3"}, {10, "b", "ab\xC3"}, {20, "c", "abc"}, {30, "d", ""}}},
      {"a sharp s is no double s",
       {"Strasse", "Straße Navi"},
       {{0, "s", "Strasse"},
        {10, "t", "Strasse"},
        {20, "r", "Strasse"},
        {30, "a", "Strasse"},
        {40, "ß", "Straße Navi"},
        {1100, "s", "Strasse"},
        {1110, "t", "Strasse"},
        {1120, "r", "Strasse"},
        {1130, "a", "Strasse"},
        {1140, "s", "Strasse"},
        {1150, "s", "Strasse"},
        {1160, "e", "Strasse"},
        {1170, " ", ""}}},
      {"nor is a double s a sharp s",
       {"Straße Navi"},
       {{0, "s", "Straße Navi"},
        {10, "t", "Straße Navi"},
        {20, "r", "Straße Navi"},
        {30, "a", "Straße Navi"},
        {40, "s", ""},
        {50, "s", ""}}},
  };
  for (const auto& c : cases) RunSteps(c.title, c.names, app::ListKind::kNames, c.steps);
}

TEST(TypeToSelect, TheFirstLetterOpensItsGroupAndTheTextGoesOnInside) {
  const Names groups = {"A", "S", "V", "#"};
  const struct {
    const char* title;
    Names names;
    std::vector<Step> steps;
  } cases[] = {
      {"a letter", groups, {{0, "v", "open V"}}},
      {"a capital", groups, {{0, "S", "open S"}}},
      {"the last letter", {"A", "Z", "#"}, {{0, "z", "open Z"}}},
      {"a digit goes to the rest", groups, {{0, "7", "open #"}}},
      {"a letter beyond ASCII goes to the rest", groups, {{0, "é", "open #"}}},
      {"a letter without a group", groups, {{0, "q", ""}}},
      {"no group for the rest", {"A", "V"}, {{0, "1", ""}}},
      {"a blank opens nothing", groups, {{0, " ", ""}}},
  };
  for (const auto& c : cases) RunSteps(c.title, c.names, app::ListKind::kLetterGroups, c.steps);

  // Opening the group keeps the text: the group's own names take it on.
  const sim::CaselessOrder fold;
  const app::TypeStep opened = app::TypeToSelect(groups, app::ListKind::kLetterGroups, {},
                                                 {Key::Kind::kCharacter, U'v', 0}, fold);
  app::TypedText state = opened.state;
  const Names group_v = {"Visual C++ 2015", "VirtualBox 7", "Vivaldi"};
  for (const char32_t letter : {U'i', U'r'}) {
    const app::TypeStep step = app::TypeToSelect(group_v, app::ListKind::kNames, state,
                                                 {Key::Kind::kCharacter, letter, 100}, fold);
    state = step.state;
    EXPECT_EQ(Outcome(group_v, step.answer), letter == U'i' ? "Visual C++ 2015" : "VirtualBox 7");
  }

  // Through the menu's typing: the group opened takes the text on, and another list, reached
  // within the pause, starts its own.
  framework::TMenuItem all("all", "All Programs");
  framework::TMenuItem processes("processes", "Kill Process");
  for (const char* name : {"A", "V"}) all.Add(std::make_unique<framework::TMenuItem>(name, name));
  for (const std::string& name : group_v) {
    all[1].Add(std::make_unique<framework::TMenuItem>(name, name));
  }
  processes.Add(std::make_unique<framework::TMenuItem>("v", "vlc.exe"));
  processes.Add(std::make_unique<framework::TMenuItem>("s", "svchost.exe"));
  app::ListTyping typing(fold, [&](const framework::TMenuItem& submenu) {
    return &submenu == &all ? app::ListKind::kLetterGroups : app::ListKind::kNames;
  });
  EXPECT_EQ(Outcome({"A", "V"}, typing.Type(all, {Key::Kind::kCharacter, U'v', 0})), "open V");
  EXPECT_EQ(Outcome(group_v, typing.Type(all[1], {Key::Kind::kCharacter, U'i', 100})),
            "Visual C++ 2015");
  EXPECT_EQ(Outcome(group_v, typing.Type(all[1], {Key::Kind::kCharacter, U'r', 200})),
            "VirtualBox 7");
  EXPECT_EQ(Outcome({"vlc.exe", "svchost.exe"},
                    typing.Type(processes, {Key::Kind::kCharacter, U's', 300})),
            "svchost.exe");
  EXPECT_FALSE(typing.IsTyping(all[1], 300)) << "a blank in the group is the menu's again";
}

TEST(ShownCaption, ADoubledAmpersandShowsAsOneAndASingleOneNotAtAll) {
  const struct {
    std::string caption;
    std::string shown;
  } cases[] = {
      {"AT&&T Connect", "AT&T Connect"},
      {"&Options...", "Options..."},
      {"A&&&B", "A&B"},
      {"&&&&", "&&"},
      {"Trailing&", "Trailing"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(text::ShownCaption(c.caption), c.shown) << c.caption;
}

}  // namespace
