// Fuzz target: any uninstall registry, the whole start-up build over the substitute platform
// (scan, sort, menus, the still-present prompt), one choice in the menu, the end. It checks
// what must hold whatever the registry holds, not exact output: among it, that no file on
// another machine is looked up, that at most one prompt comes, and that nothing starts that is
// not there.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/copies/key_copy.h"
#include "app/entry/entry_values.h"
#include "app/entry/uninstall_command.h"
#include "app/launch/launch_plan.h"
#include "app/menu/main_form.h"
#include "app/program.h"
#include "catalogue_world.h"
#include "framework/application.h"

namespace {

using sim::MenuNode;

constexpr std::string_view kAllPrograms = "All Programs";
constexpr std::string_view kRecentPrograms = "Recent Programs";
constexpr std::string_view kKillProcess = "Kill Process";
constexpr std::string_view kExit = "Exit";
constexpr std::string_view kTitle = "Tapwise Uninstaller";
constexpr std::string_view kPromptStart = "You tried to uninstall \"";
// MB_ICONMASK: the warning icon's bits include the error icon's.
constexpr std::uint32_t kMbIconMask = 0xF0;
constexpr std::uint32_t kRemovalQuestion =
    platform::kMbYesNo | platform::kMbIconWarning | platform::kMbDefButton2;
constexpr std::string_view kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr std::size_t kRecentItems = 8;
constexpr std::size_t kDateLength = 8;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
  std::abort();
}

void Require(bool holds, const std::string& what) {
  if (!holds) Fail(what);
}

// A caption as the menu gets it: every "&" doubled, so none marks an access key.
std::string Escaped(const std::string& name) {
  std::string caption;
  for (const char c : name) caption += c == '&' ? "&&" : std::string(1, c);
  return caption;
}

// How many items may show each caption: one per entry of the tree that has a display name,
// since every key is read by one pass at most.
std::map<std::string, int> CaptionsFromTheTree(const sim::Registry& registry) {
  std::map<std::string, int> captions;
  for (const fuzz::UninstallKey& key : fuzz::kUninstallKeys) {
    for (const std::string& subkey : registry.SubkeyNames(key.root, key.path)) {
      const std::string path = std::string(key.path) + "\\" + subkey;
      const auto value = registry.Value(key.root, path, "DisplayName");
      if (!value) continue;
      const std::vector<std::uint8_t>& bytes = value->second;
      const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
      ++captions[Escaped(std::string(bytes.begin(), end))];
    }
  }
  return captions;
}

const MenuNode* TopLevel(const std::vector<MenuNode>& shown, std::string_view displayed) {
  for (const MenuNode& node : shown) {
    if (node.displayed == displayed) return &node;
  }
  return nullptr;
}

// What the build produced, taken while the menu is up.
struct Seen {
  bool menu_shown = false;
  std::vector<app::ProgramEntry> programs;  // the program list, in order
  std::vector<app::CatalogueLine> lines;    // the same, as sorted
  std::vector<std::string> recent_lines;    // the recent list, in order
  std::vector<MenuNode> shown;
  std::optional<app::ProgramEntry> chosen;
};

void TakeWhatWasBuilt(const app::MainForm& form, const std::vector<MenuNode>& shown, Seen& seen) {
  Require(!seen.menu_shown, "the menu came up more than once");
  seen.menu_shown = true;
  seen.shown = shown;
  seen.lines = form.CurrentCatalogue().programs;
  for (const auto& line : seen.lines) seen.programs.push_back(line.program);
  for (const auto& line : form.CurrentCatalogue().dated) seen.recent_lines.push_back(line.text);
}

// One program item of "All Programs" as shown, with its caption path and its program's line.
struct ShownProgram {
  const MenuNode* item;
  std::vector<std::string> path;
  std::size_t line;
};

// The program items of "All Programs", in the submenus of their initials past the size that
// one popup takes.
std::vector<ShownProgram> AllProgramItems(const Seen& seen) {
  std::vector<ShownProgram> items;
  const MenuNode* all = TopLevel(seen.shown, kAllPrograms);
  Require(all != nullptr, "no All Programs submenu");
  const std::string top(kAllPrograms);
  if (seen.lines.size() <= app::kMostProgramsInOneMenu) {
    for (std::size_t i = 0; i < all->children.size(); ++i) {
      items.push_back({&all->children[i], {top, all->children[i].displayed}, i});
    }
    return items;
  }
  const std::vector<app::InitialGroup> groups = app::GroupByInitial(seen.lines);
  Require(all->children.size() == groups.size(), "All Programs is not one submenu per initial");
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const MenuNode& group = all->children[g];
    Require(group.displayed == groups[g].caption, "a group out of place: " + group.caption);
    Require(group.children.size() == groups[g].programs.size(), "a group of the wrong size");
    for (std::size_t k = 0; k < group.children.size(); ++k) {
      items.push_back({&group.children[k],
                       {top, group.displayed, group.children[k].displayed},
                       groups[g].programs[k]});
    }
  }
  return items;
}

// The caption path the scripted user chooses; empty closes the menu.
std::vector<std::string> Choose(const fuzz::UserScript& script, Seen& seen) {
  using Choice = fuzz::UserScript::Choice;
  const auto item_of = [&](std::string_view submenu) -> std::vector<std::string> {
    const MenuNode* node = TopLevel(seen.shown, submenu);
    if (node == nullptr || node->children.empty()) return {};
    const MenuNode& item = node->children[script.index % node->children.size()];
    // The platform takes the first item drawn with that caption, so that is the one chosen.
    for (std::size_t i = 0; i < node->children.size(); ++i) {
      if (node->children[i].displayed != item.displayed) continue;
      break;
    }
    return {std::string(submenu), item.displayed};
  };
  switch (script.choice) {
    case Choice::kAllItem: {
      const std::vector<ShownProgram> items = AllProgramItems(seen);
      if (items.empty()) return {};
      const ShownProgram& picked = items[script.index % items.size()];
      // The platform takes the first item of its submenu drawn with that caption.
      for (const ShownProgram& item : items) {
        if (item.path != picked.path) continue;
        seen.chosen = seen.programs[item.line];
        break;
      }
      return picked.path;
    }
    case Choice::kRecentItem:
      return item_of(kRecentPrograms);
    case Choice::kKillItem:
      return item_of(kKillProcess);
    case Choice::kExit:
      return {std::string(kExit)};
    case Choice::kDismiss:
      break;
  }
  return {};
}

void CheckAllPrograms(const Seen& seen, std::map<std::string, int> available) {
  const std::vector<ShownProgram> items = AllProgramItems(seen);
  Require(items.size() == seen.programs.size(), "All Programs is not one item per line");
  for (const ShownProgram& shown : items) {
    const MenuNode& item = *shown.item;
    Require(item.kind == MenuNode::Kind::kCommand,
            "a program item is no plain item: " + item.caption);
    Require(item.caption == Escaped(seen.programs[shown.line].name),
            "an item does not show its line's name: " + item.caption);
    // More items with a caption than entries with that name: an entry gave two lines.
    Require(available[item.caption]-- > 0,
            "not a display name of the tree, or listed twice: " + item.caption);
  }
}

void CheckRecentPrograms(const Seen& seen) {
  const MenuNode* recent = TopLevel(seen.shown, kRecentPrograms);
  Require(recent != nullptr, "no Recent Programs submenu");
  const std::size_t lines = seen.recent_lines.size();
  Require(recent->children.size() == std::min(lines, kRecentItems),
          "Recent Programs does not hold the eight newest");
  Require(lines <= seen.programs.size(), "more dated lines than programs");
  std::string newer = "99999999";
  for (std::size_t i = 0; i < recent->children.size(); ++i) {
    const std::string& line = seen.recent_lines[lines - 1 - i];
    Require(line.size() > kDateLength && line[kDateLength] == ' ',
            "a recent line without a date: " + line);
    const std::string date = line.substr(0, kDateLength);
    Require(date.find_first_not_of("0123456789") == std::string::npos,
            "a date of no digits: " + line);
    Require(date <= newer, "Recent Programs is not newest first at " + line);
    newer = date;
    Require(recent->children[i].kind == MenuNode::Kind::kCommand, "a recent item is no plain item");
    Require(recent->children[i].caption == Escaped(line.substr(kDateLength + 1)),
            "a recent item does not show its line's name: " + recent->children[i].caption);
  }
}

bool IsPrompt(const sim::BoxRecord& box) {
  return box.text.rfind(kPromptStart, 0) == 0;
}

bool PromptAnsweredYes(const sim::WindowSystem& windows) {
  return std::any_of(windows.Boxes().begin(), windows.Boxes().end(), [](const auto& box) {
    return IsPrompt(box) && box.answer == platform::kIdYes;
  });
}

// Only the still-present prompt, once at most, the offer to remove an entry, and the notices
// about a chosen program are boxes the program may show; an error box would be a failure that
// escaped.
void CheckBoxes(const sim::WindowSystem& windows) {
  int prompts = 0;
  int questions = 0;
  for (const sim::BoxRecord& box : windows.Boxes()) {
    Require(box.caption == kTitle, "a box captioned " + box.caption);
    Require((box.style & kMbIconMask) != platform::kMbIconError, "an error box: " + box.text);
    prompts += IsPrompt(box) ? 1 : 0;
    questions += box.style == kRemovalQuestion ? 1 : 0;
    const bool notice = box.style == platform::kMbIconInformation ||
                        box.style == platform::kMbIconWarning || box.style == kRemovalQuestion;
    Require(IsPrompt(box) || notice, "an unexpected box: " + box.text);
  }
  Require(prompts <= 1, "more than one prompt");
  Require(questions <= 1, "more than one offer to remove an entry");
}

bool OnAnotherMachine(const std::string& path, sim::FileTable& files) {
  const auto separator = [](char c) { return c == '\\' || c == '/'; };
  if (path.size() >= 2 && separator(path[0]) && separator(path[1])) return true;
  const bool drive = path.size() >= 2 && path[1] == ':';
  return files.DriveTypeOf(drive ? path.substr(0, 2) + "\\" : "") == platform::DriveType::kRemote;
}

// No date is sought on another machine, and whatever starts is a file that is there, named in
// quotes at the head of its command line.
void CheckFilesAndStarts(sim::SimPlatform& sim) {
  for (const std::string& path : sim.files.Queries()) {
    Require(!OnAnotherMachine(path, sim.files), "a date sought on another machine: " + path);
  }
  for (const sim::Launch& launch : sim.launcher.Launches()) {
    if (launch.asked.command_line.empty()) continue;
    Require(sim.files.FileExists(launch.asked.program),
            "started what is not there: " + launch.asked.program);
    Require(launch.asked.command_line.rfind('"', 0) == 0,
            "a command line without its program quoted: " + launch.asked.command_line);
  }
}

void CheckTheEnd(const Seen& seen, sim::SimPlatform& sim) {
  // "Yes" to the prompt ends the program without a menu.
  const bool sent_away = PromptAnsweredYes(sim.windows);
  Require(seen.menu_shown != sent_away,
          sent_away ? "a menu after the prompt's Yes" : "the menu never came up");
  Require(sim.windows.Windows().empty(), "windows left after the end");
  Require(sim.windows.LiveMenuCount() == 0, "menus left after the end");
  Require(sim.registry.OpenHandleCount() == 0, "registry keys left open");
  Require(sim.processes.OpenSnapshotCount() == 0, "a process snapshot left open");
  if (!seen.chosen) return;
  // "Last" names exactly the command that started, and nothing when none did.
  const auto last = sim.registry.Value(platform::kHkeyCurrentUser, fuzz::kSettingsKey, "Last");
  const std::string command = app::UninstallCommand(*seen.chosen);
  std::vector<std::uint8_t> expected(command.begin(), command.end());
  expected.push_back(0);
  const auto& launches = sim.launcher.Launches();
  const bool started = std::any_of(launches.begin(), launches.end(), [](const sim::Launch& l) {
    // An uninstaller's start has its command line, whether the shell restarted it elevated.
    return !l.asked.command_line.empty() && l.result == platform::kStartOk;
  });
  const bool recorded = last && last->first == platform::kRegSz && last->second == expected;
  Require(recorded == started, started ? "the started command is not the one recorded"
                                       : "a command recorded that never started");
}

// Nothing is deleted without a copy that puts it back: an entry gone from the registry has its
// .reg file, and that file, loaded into an empty registry, holds the entry's key.
void CheckRemoval(const Seen& seen, sim::SimPlatform& sim) {
  if (!seen.chosen || seen.chosen->key_name.empty()) return;
  const app::ProgramEntry& entry = *seen.chosen;
  const platform::RegKey root = entry.view == app::EntryView::kUser ? platform::kHkeyCurrentUser
                                                                    : platform::kHkeyLocalMachine;
  const std::uint32_t access =
      platform::kKeyRead |
      (entry.view == app::EntryView::kMachine64 ? platform::kKeyWow64_64Key : 0u);
  const std::string path = std::string(kUninstallKey) + entry.key_name;
  app::CopiedKey now;
  if (app::ReadKeyCopy(sim.registry, root, path, access, now) != platform::kRegNotFound) return;
  const auto& files = sim.file_store.Files();
  Require(files.size() == 1, "an entry removed without its copy: " + entry.key_name);
  sim::Registry restored;
  const auto& bytes = files.begin()->second;
  restored.LoadRegText(std::string(bytes.begin(), bytes.end()));
  app::CopiedKey back;
  Require(app::ReadKeyCopy(restored, root, path, access, back) == platform::kRegOk,
          "a copy that does not restore " + entry.key_name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  sim::SimPlatform sim;
  const fuzz::UserScript script = fuzz::BuildWorld(data, size, sim);
  const std::map<std::string, int> captions = CaptionsFromTheTree(sim.registry);
  platform::Platform bound = sim.Bind();
  Seen seen;
  try {
    app::ProgramState state;
    framework::TApplication application(bound);
    const app::MainForm& form = app::CreateProgramForms(application, state);
    sim.windows.PickMenuItem([&](const std::vector<MenuNode>& shown) {
      TakeWhatWasBuilt(form, shown, seen);
      return Choose(script, seen);
    });
    for (const int answer : script.box_answers) sim.windows.AnswerBox(answer);
    application.Run();
  } catch (const sim::Hang& hang) {
    Fail("the program hangs: " + hang.what);
  } catch (const sim::ScriptError& error) {
    Fail("the program showed what no user was asked about: " + error.what);
  }
  if (seen.menu_shown) {
    CheckAllPrograms(seen, captions);
    CheckRecentPrograms(seen);
  }
  CheckBoxes(sim.windows);
  CheckFilesAndStarts(sim);
  CheckTheEnd(seen, sim);
  CheckRemoval(seen, sim);
  return 0;
}
