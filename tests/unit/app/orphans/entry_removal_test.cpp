// Taking an entry whose uninstaller is gone off the list: each step failing in turn, with the
// registry and the copy as they must then be; and the boxes around it, through the menu.

#include "app/orphans/entry_removal.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/command_line/arguments.h"
#include "app/command_line/command_line.h"
#include "app/copies/key_copy.h"
#include "app/entry/entry_key.h"
#include "app/harness.h"
#include "app/orphans/machine_removal.h"
#include "app/orphans/removal_prompt.h"
#include "app/orphans/set_aside.h"
#include "platform/sim/sim_platform.h"

namespace {

using app::EntryView;
using app::RemovalOutcome;
using platform::RegKey;
using platform::RegResult;
using testing_support::kCu;
using testing_support::kLm32;
using testing_support::kLm64;

const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kUninstall32 =
    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kCopies =
    "C:\\Users\\user\\AppData\\Local\\Quillon\\Tapwise Uninstaller\\Removed entries";
const std::string kCopy = kCopies + "\\Gone App 2026-12-07 21-30-05.reg";
const std::string kStore = "C:\\ProgramData\\Quillon\\Tapwise Uninstaller\\Removed entries";
const std::string kMachineCopy = kStore + "\\Gone App 2026-12-07 21-30-05.reg";

// The same key name in every view, each with a subkey, so that a removal that reaches past
// its own key shows.
std::string Twins(const std::string& name,
                  const std::vector<std::string>& roots = {kCu, kLm64, kLm32}) {
  std::string reg;
  for (const std::string& root : roots) {
    reg += testing_support::Entry(
        root + name, {"\"DisplayName\"=\"Gone App\"", "\"UninstallString\"=\"C:\\\\Gone\\\\u.exe\"",
                      "\"Size\"=dword:00000010"});
    reg += testing_support::Entry(root + name + "\\Sub", {"\"Kept\"=hex(2):41,00,00,00"});
  }
  return reg;
}

// The substitute registry with faults a real one can show while a key is read: a value or a
// subkey that cannot be listed, a value gone between its listing and its reading; a rename that
// fails; and a hook that runs once before the first call of a step.
class Faults final : public platform::RawRegistry {
 public:
  explicit Faults(platform::RawRegistry& inner) : inner_(inner) {}
  enum class Fault { kNone, kUnlistedValue, kVanishedValue, kUnlistedSubkey };
  Fault fault = Fault::kNone;  // each key's second value, or first subkey
  int fail_rename = 0;         // the number of the rename that fails: 1 sets aside, 2 puts back
  std::string step;            // "open", "rename", "read", "delete" or "check"
  std::function<void()> before;

  RegResult OpenKey(RegKey base, const std::string& path, std::uint32_t access,
                    RegKey* opened) override {
    return inner_.OpenKey(base, path, access, opened);
  }
  RegResult OpenKeyItself(RegKey base, const std::string& path, std::uint32_t access,
                          RegKey* opened) override {
    Step(deletes_ > 0 ? "check" : "open");
    return inner_.OpenKeyItself(base, path, access, opened);
  }
  RegResult RenameKey(RegKey key, const std::string& name) override {
    Step("rename");
    return ++renames_ == fail_rename ? platform::kRegAccessDenied : inner_.RenameKey(key, name);
  }
  RegResult DeleteOpenKey(RegKey key) override {
    Step("delete");
    ++deletes_;
    return inner_.DeleteOpenKey(key);
  }
  RegResult EnumKey(RegKey key, std::uint32_t index, std::string& name) override {
    if (fault == Fault::kUnlistedSubkey) return kMoreData;
    return inner_.EnumKey(key, index, name);
  }
  RegResult EnumValueName(RegKey key, std::uint32_t index, std::string& name) override {
    Step("read");
    if (index != 1 || fault == Fault::kNone) return inner_.EnumValueName(key, index, name);
    if (fault == Fault::kUnlistedValue) return kMoreData;
    name = "Vanished";
    return platform::kRegOk;
  }
  RegResult CloseKey(RegKey key) override { return inner_.CloseKey(key); }
  RegResult CreateKey(RegKey base, const std::string& path, std::uint32_t access,
                      RegKey* opened) override {
    return inner_.CreateKey(base, path, access, opened);
  }
  RegResult ReadValue(RegKey key, const std::string& name, std::uint32_t& type,
                      std::vector<std::uint8_t>& data) override {
    return inner_.ReadValue(key, name, type, data);
  }
  RegResult SetValue(RegKey key, const std::string& name, std::uint32_t type,
                     const std::uint8_t* data, std::uint32_t size) override {
    return inner_.SetValue(key, name, type, data, size);
  }
  RegResult DeleteValue(RegKey key, const std::string& name) override {
    return inner_.DeleteValue(key, name);
  }
  RegResult ReadStoredValue(RegKey key, const std::string& name, std::size_t limit,
                            std::uint32_t& type, std::vector<std::uint8_t>& data) override {
    return inner_.ReadStoredValue(key, name, limit, type, data);
  }
  RegResult DeleteTree(RegKey key, const std::string& subkey) override {
    return inner_.DeleteTree(key, subkey);
  }
  RegResult QueryInfoKey(RegKey key, std::uint32_t& subkeys) override {
    return inner_.QueryInfoKey(key, subkeys);
  }
  bool HasSeparate64BitView() const override { return inner_.HasSeparate64BitView(); }

 private:
  static constexpr RegResult kMoreData = 234;  // ERROR_MORE_DATA
  void Step(const std::string& name) {
    if (name == step && before) std::exchange(before, nullptr)();
  }
  platform::RawRegistry& inner_;
  int renames_ = 0;
  int deletes_ = 0;
};

struct World {
  sim::SimPlatform sim;
  Faults faults{sim.registry};
  // The elevated step runs as the program runs it: its own instance, on the same machine.
  explicit World(const std::string& name = "Gone") {
    sim.registry.LoadRegText(std::string(testing_support::kRegHeader) + Twins(name));
    sim.launcher.SetStartAction([this](const platform::StartSpec& asked) {
      platform::Platform platform = sim.Bind();
      const app::Command command = app::ParseCommand(app::SplitArguments(asked.parameters));
      const auto exit = command.kind == app::CommandKind::kRemoveMachineEntry
                            ? app::RunMachineEntryRemoval(platform, command.machine_entry)
                            : app::StepExit::kUsage;
      return sim::LaunchRecorder::ScriptedRun{.exit_code = static_cast<std::uint32_t>(exit)};
    });
  }
  // A step that changes nothing and runs as given.
  void StepRuns(sim::LaunchRecorder::ScriptedRun run) {
    sim.launcher.SetStartAction([run](const platform::StartSpec&) { return run; });
  }
  app::Removal Remove(EntryView view, const std::string& name = "Gone") {
    app::ProgramEntry program{"Gone App", "C:\\Gone\\u.exe", view, {}};
    program.key_name = name;
    return app::RemoveEntry(program, app::RemovalSystem{faults, sim.file_store, sim.launcher});
  }
};

std::string PhysicalPath(EntryView view, const std::string& name) {
  return (view == EntryView::kMachineDefault ? kUninstall32 : kUninstall) + name;
}
platform::RegKey RootOf(EntryView view) {
  return view == EntryView::kUser ? platform::kHkeyCurrentUser : platform::kHkeyLocalMachine;
}

struct StepCase {
  const char* label;
  EntryView view;
  std::function<void(World&)> arrange;
  RemovalOutcome outcome;
  bool key_gone;
  bool sub_left;  // the entry's subkey is still there
  bool copy_kept;
};

TEST(EntryRemoval, EachStepFailingInTurn) {
  const auto kUser = EntryView::kUser;
  const auto k64 = EntryView::kMachine64;
  const auto k32 = EntryView::kMachineDefault;
  const StepCase cases[] = {
      {"per-user removed", kUser, [](World&) {}, RemovalOutcome::kRemoved, true, false, true},
      {"copy folder unwritable", kUser, [](World& s) { s.sim.file_store.DenyWrites(kCopies); },
       RemovalOutcome::kNotCopied, false, true, false},
      {"no local app data folder", kUser, [](World& s) { s.sim.file_store.SetLocalAppData(""); },
       RemovalOutcome::kNotCopied, false, true, false},
      {"copy reads back changed", kUser, [](World& s) { s.sim.file_store.CorruptReads(true); },
       RemovalOutcome::kNotCopied, false, true, false},
      {"delete refused", kUser,
       [](World& s) {
         s.sim.registry.KeepFromDeletion(platform::kHkeyCurrentUser, kUninstall + "Gone");
       },
       RemovalOutcome::kPartlyRemoved, false, false, true},
      {"subkey refuses deletion", kUser,
       [](World& s) {
         s.sim.registry.KeepFromDeletion(platform::kHkeyCurrentUser, kUninstall + "Gone\\Sub");
       },
       RemovalOutcome::kNotRemoved, false, true, false},
      {"entry may not be opened", kUser,
       [](World& s) { s.sim.registry.DenyAccess(platform::kHkeyCurrentUser, kUninstall + "Gone"); },
       RemovalOutcome::kNotRead, false, true, false},
      {"setting aside refused", kUser, [](World& s) { s.faults.fail_rename = 1; },
       RemovalOutcome::kNotRemoved, false, true, false},
      {"copy unwritable, name taken meanwhile", kUser,
       [](World& s) {
         s.sim.file_store.DenyWrites(kCopies);
         s.faults.fail_rename = 2;
       },
       RemovalOutcome::kLeftAside, true, false, false},
      {"delete refused, name taken meanwhile", kUser,
       [](World& s) {
         s.sim.registry.KeepFromDeletion(platform::kHkeyCurrentUser, kUninstall + "Gone");
         s.faults.fail_rename = 2;
       },
       RemovalOutcome::kLeftAside, true, false, true},
      {"more than a copy may hold", kUser,
       [](World& s) {
         s.sim.registry.SetRawValue(platform::kHkeyCurrentUser, kUninstall + "Gone\\Sub", "Big",
                                    platform::kRegBinary,
                                    std::vector<std::uint8_t>(app::kMaxCopyBytes));
       },
       RemovalOutcome::kTooLarge, false, true, false},
      {"a tree deeper than a copy follows", kUser,
       [](World& s) {
         std::string deep = kUninstall + "Gone\\Sub";
         for (int level = 0; level <= app::kMaxCopyDepth; ++level) deep += "\\k";
         s.sim.registry.CreatePhysicalKey(platform::kHkeyCurrentUser, deep);
       },
       RemovalOutcome::kNotRead, false, true, false},
      {"64-bit removed", k64, [](World&) {}, RemovalOutcome::kRemoved, true, false, true},
      {"32-bit removed", k32, [](World&) {}, RemovalOutcome::kRemoved, true, false, true},
      {"store unwritable", k64, [](World& s) { s.sim.file_store.DenyWrites(kStore); },
       RemovalOutcome::kStepRefused, false, true, false},
      {"a store folder made by a user", k32,
       [](World& s) {
         s.sim.file_store.PutFolder("C:\\ProgramData\\Quillon",
                                    "O:S-1-5-21-9-9-9-1002D:(A;OICI;FA;;;S-1-5-21-9-9-9-1002)");
       },
       RemovalOutcome::kStepRefused, false, true, false},
      {"a store folder users may write in", k64,
       [](World& s) { s.sim.file_store.PutFolder(kStore, "O:BAD:(A;OICI;0x1301bf;;;BU)"); },
       RemovalOutcome::kStepRefused, false, true, false},
      {"a store folder that is a junction", k64,
       [](World& s) { s.sim.file_store.PutReparsePoint("C:\\ProgramData\\Quillon"); },
       RemovalOutcome::kStepRefused, false, true, false},
      {"a key that lists no program", k32,
       [](World& s) {
         s.sim.registry.DeletePhysicalValue(platform::kHkeyLocalMachine, kUninstall32 + "Gone",
                                            "DisplayName");
       },
       RemovalOutcome::kStepRefused, false, true, false},
      {"the uninstaller is back", k64,
       [](World& s) {
         s.sim.files.AddFile("C:\\Gone\\u.exe", platform::Date{2020, 1, 1});
       },
       RemovalOutcome::kNotOrphaned, false, true, false},
      {"run from a folder users may change", k64,
       [](World& s) {
         s.sim.file_store.SetSecurity(std::string(sim::kOwnProgramFolder),
                                      "O:BAD:(A;OICI;FA;;;AU)");
       },
       RemovalOutcome::kFromUserFolder, false, true, false},
      {"elevation declined", k64,
       [](World& s) { s.sim.launcher.SetShellStartResult(platform::kErrorCancelled); },
       RemovalOutcome::kNotRemoved, false, true, false},
      {"the step cannot start", k32,
       [](World& s) { s.sim.launcher.SetShellStartResult(platform::kErrorFileNotFound); },
       RemovalOutcome::kNotRemoved, false, true, false},
      // Only a step seen to end tells what it did.
      {"the step outlives the bound", k64, [](World& s) { s.StepRuns({.lasts_ms = 60001}); },
       RemovalOutcome::kNotKnown, false, true, false},
      {"the step cannot be followed", k32, [](World& s) { s.StepRuns({.followable = false}); },
       RemovalOutcome::kNotKnown, false, true, false},
      {"the step crashes", k32, [](World& s) { s.StepRuns({.exit_code = 0xC0000005}); },
       RemovalOutcome::kNotKnown, false, true, false},
      {"the step says removed, without its copy", k64, [](World& s) { s.StepRuns({}); },
       RemovalOutcome::kNotKnown, false, true, false},
      {"key gone before the copy", kUser,
       [](World& s) {
         s.sim.registry.DeletePhysicalKey(platform::kHkeyCurrentUser, kUninstall + "Gone");
       },
       RemovalOutcome::kNotRead, true, false, false},
      {"a value whose name cannot be listed", kUser,
       [](World& s) { s.faults.fault = Faults::Fault::kUnlistedValue; }, RemovalOutcome::kNotRead,
       false, true, false},
      {"a value gone while the key is read", kUser,
       [](World& s) { s.faults.fault = Faults::Fault::kVanishedValue; }, RemovalOutcome::kNotRead,
       false, true, false},
      {"a subkey whose name cannot be listed", kUser,
       [](World& s) { s.faults.fault = Faults::Fault::kUnlistedSubkey; }, RemovalOutcome::kNotRead,
       false, true, false},
  };
  for (const StepCase& c : cases) {
    World setup;
    c.arrange(setup);
    const app::Removal removal = setup.Remove(c.view);
    EXPECT_EQ(removal.outcome, c.outcome) << c.label;
    sim::Registry& registry = setup.sim.registry;
    const std::string path = PhysicalPath(c.view, "Gone");
    EXPECT_EQ(registry.KeyExists(RootOf(c.view), path), !c.key_gone) << c.label;
    EXPECT_EQ(registry.KeyExists(RootOf(c.view), path + "\\Sub"), c.sub_left) << c.label;
    const auto& files = setup.sim.file_store.Files();
    EXPECT_EQ(files.size(), c.copy_kept ? 1u : 0u) << c.label;
    EXPECT_EQ(registry.KeyExists(RootOf(c.view), PhysicalPath(c.view, app::SetAsideName("Gone"))),
              c.outcome == RemovalOutcome::kLeftAside)
        << c.label;
    // A copy that is kept is named; one that could not be written is named as it was tried.
    if (c.copy_kept) {
      EXPECT_EQ(removal.copy_path, c.view == kUser ? kCopy : kMachineCopy) << c.label;
    } else if (c.outcome == RemovalOutcome::kNotRemoved) {
      EXPECT_EQ(removal.copy_path, "") << c.label;
    }
    // The other views' keys of the same name, and the parents, are never touched.
    for (const EntryView other : {kUser, k64, k32}) {
      if (other == c.view) continue;
      EXPECT_TRUE(registry.KeyExists(RootOf(other), PhysicalPath(other, "Gone\\Sub"))) << c.label;
    }
    if (!c.copy_kept) continue;
    // The copy puts the entry back exactly as it was.
    World restored;
    restored.sim.registry.DeletePhysicalKey(RootOf(c.view), path);
    restored.sim.registry.KeepFromDeletion(platform::kHkeyCurrentUser, kUninstall + "Gone", false);
    const auto& file = files.begin()->second;
    restored.sim.registry.LoadRegText(std::string(file.begin(), file.end()));
    app::CopiedKey original;
    app::CopiedKey back;
    World fresh;
    ASSERT_EQ(app::ReadKeyCopy(fresh.sim.registry, RootOf(c.view), path,
                               platform::kKeyRead | platform::kKeyWow64_64Key, original),
              platform::kRegOk);
    ASSERT_EQ(app::ReadKeyCopy(restored.sim.registry, RootOf(c.view), path,
                               platform::kKeyRead | platform::kKeyWow64_64Key, back),
              platform::kRegOk);
    EXPECT_EQ(back, original) << c.label;
  }
}

TEST(EntryRemoval, TheStepIsAskedForTheEntrysOwnKeyInItsOwnView) {
  for (const auto& [view, bits] :
       {std::pair{EntryView::kMachine64, "64"}, std::pair{EntryView::kMachineDefault, "32"}}) {
    World setup;
    setup.Remove(view);
    const auto& launches = setup.sim.launcher.Launches();
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_TRUE(launches[0].elevated);
    EXPECT_EQ(launches[0].asked.follow, platform::Follow::kProcess);
    EXPECT_EQ(launches[0].asked.program, sim::kOwnProgramFile);
    const std::string& parameters = launches[0].asked.parameters;
    EXPECT_TRUE(parameters.starts_with("/remove-machine-entry HKLM " + std::string(bits) +
                                       " 0047006F006E0065 \"Gone App 2026-12-07 21-30-05.reg\" "))
        << parameters;
  }
  World per_user;
  per_user.Remove(EntryView::kUser);
  EXPECT_TRUE(per_user.sim.launcher.Launches().empty());
  // Declining the elevation is said as such, not as the system's error.
  World declined;
  declined.sim.launcher.SetShellStartResult(platform::kErrorCancelled);
  EXPECT_EQ(declined.Remove(EntryView::kMachine64).reason, app::kDeclinedReason);
}

// A key's name reaches the step as hexadecimal: no character of it can change the command line.
TEST(EntryRemoval, AnyKeyNameReachesTheStepWhole) {
  for (const std::string& name :
       {std::string("a\" /f \"b"), std::string("caf\xC3\xA9 \xF0\x9F\x98\x80"),
        std::string("%TEMP% & x")}) {
    World setup(name);
    EXPECT_EQ(setup.Remove(EntryView::kMachine64, name).outcome, RemovalOutcome::kRemoved) << name;
    EXPECT_FALSE(setup.sim.registry.KeyExists(platform::kHkeyLocalMachine, kUninstall + name));
    EXPECT_TRUE(setup.sim.registry.KeyExists(platform::kHkeyLocalMachine, kUninstall32 + name));
  }
  // A per-user key is deleted without a command line, so its name needs no such care.
  World quoted("a\"b");
  EXPECT_EQ(quoted.Remove(EntryView::kUser, "a\"b").outcome, RemovalOutcome::kRemoved);
  // No name would name the whole Uninstall key.
  World unnamed;
  EXPECT_EQ(unnamed.Remove(EntryView::kUser, "").outcome, RemovalOutcome::kNotRead);
  EXPECT_TRUE(unnamed.sim.registry.KeyExists(platform::kHkeyCurrentUser, kUninstall + "Gone"));
}

// What the user said yes to is what goes: an entry that changed after the question stays as it
// is now, and the question names the values that its copy cannot give back exactly.
TEST(EntryRemoval, AnEntryChangedAfterTheQuestionIsLeftAsItIs) {
  for (const EntryView view : {EntryView::kUser, EntryView::kMachine64}) {
    World setup;
    app::ProgramEntry program{"Gone App", "C:\\Gone\\u.exe", view, {}};
    program.key_name = "Gone";
    const auto asked = app::ReadAskedEntry(setup.sim.registry, program);
    ASSERT_TRUE(asked.has_value());
    EXPECT_EQ(asked->inexact_note, "");
    setup.sim.registry.SetText(RootOf(view), PhysicalPath(view, "Gone\\Sub"), "Late", "x");
    const app::Removal removal = app::RemoveEntry(
        program, app::RemovalSystem{setup.faults, setup.sim.file_store, setup.sim.launcher},
        asked->digest);
    EXPECT_EQ(removal.outcome, RemovalOutcome::kChanged);
    EXPECT_TRUE(setup.sim.registry.KeyExists(RootOf(view), PhysicalPath(view, "Gone\\Sub")));
    EXPECT_TRUE(setup.sim.file_store.Files().empty());
  }
  World odd;
  odd.sim.registry.SetRawValue(platform::kHkeyCurrentUser, kUninstall + "Gone\\Sub", "Odd",
                               platform::kRegSz, {0x61, 0x00, 0x62});
  app::ProgramEntry program{"Gone App", "C:\\Gone\\u.exe", EntryView::kUser, {}};
  program.key_name = "Gone";
  const auto asked = app::ReadAskedEntry(odd.sim.registry, program);
  ASSERT_TRUE(asked.has_value());
  EXPECT_NE(asked->inexact_note.find("Uninstall\\Gone\\Sub: \"Odd\""), std::string::npos)
      << asked->inexact_note;
}

// A link anywhere in an entry, to a key outside it, refuses the removal: the link is named, and
// neither the entry nor what the link leads to is touched.
TEST(EntryRemoval, ALinkInTheEntryIsNeverFollowed) {
  const std::pair<EntryView, std::string> cases[] = {
      {EntryView::kUser, ""},
      {EntryView::kUser, "\\Link"},
      {EntryView::kUser, "\\Sub\\Link"},
      {EntryView::kMachine64, ""},
      {EntryView::kMachine64, "\\Link"},
      {EntryView::kMachineDefault, "\\Sub\\Link"},
  };
  for (const auto& [view, link] : cases) {
    World setup;
    const RegKey root = RootOf(view);
    const std::string target =
        root == platform::kHkeyCurrentUser ? "Software\\Target" : "SOFTWARE\\Target";
    setup.sim.registry.SetText(root, target, "Kept", "yes");
    setup.sim.registry.SetLink(root, PhysicalPath(view, "Gone") + link, root, target);
    const app::Removal removal = setup.Remove(view);
    EXPECT_EQ(removal.outcome, RemovalOutcome::kHoldsLink) << link;
    // The step's exit code cannot carry where the link is.
    if (view == EntryView::kUser) {
      EXPECT_TRUE(removal.key_path.ends_with("Uninstall\\Gone" + link)) << removal.key_path;
    }
    EXPECT_TRUE(setup.sim.registry.Value(root, target, "Kept").has_value()) << link;
    EXPECT_TRUE(setup.sim.registry.KeyExists(root, PhysicalPath(view, "Gone\\Sub"))) << link;
    EXPECT_TRUE(setup.sim.file_store.Files().empty()) << link;
  }
}

// What is written under the entry's name once it is set aside lands in a fresh key that stays;
// before that, it is part of the entry, copied and removed with it.
TEST(EntryRemoval, AWriteUnderItsNameMeanwhileSurvives) {
  const std::pair<const char*, bool> cases[] = {
      {"open", false}, {"rename", false}, {"read", true}, {"delete", true}, {"check", true}};
  for (const auto& [step, survives] : cases) {
    World setup;
    sim::Registry& registry = setup.sim.registry;
    setup.faults.step = step;
    setup.faults.before = [&registry] {
      registry.SetText(platform::kHkeyCurrentUser, kUninstall + "Gone", "Late", "x");
    };
    const app::Removal removal = setup.Remove(EntryView::kUser);
    EXPECT_EQ(removal.outcome, survives ? RemovalOutcome::kRewritten : RemovalOutcome::kRemoved)
        << step;
    EXPECT_EQ(registry.Value(platform::kHkeyCurrentUser, kUninstall + "Gone", "Late").has_value(),
              survives)
        << step;
    EXPECT_FALSE(registry.KeyExists(platform::kHkeyCurrentUser, kUninstall + "Gone\\Sub")) << step;
    World restored;
    const auto& file = setup.sim.file_store.Files().at(kCopy);
    restored.sim.registry.LoadRegText(std::string(file.begin(), file.end()));
    EXPECT_EQ(restored.sim.registry.Value(platform::kHkeyCurrentUser, kUninstall + "Gone", "Late")
                  .has_value(),
              !survives)
        << step;
    if (!survives) continue;
    // A second copy in the same second takes the next number.
    EXPECT_EQ(setup.Remove(EntryView::kUser).copy_path,
              kCopies + "\\Gone App 2026-12-07 21-30-05 (2).reg");
  }
}

// A run that ended after setting an entry aside: the next start deletes it when its copy was
// verified and is still there, and puts it back otherwise, unless its name is taken meanwhile.
TEST(EntryRemoval, AStartFinishesOrUndoesARemovalLeftSetAside) {
  const struct {
    const char* label;
    bool noted;
    bool copy_there;
    bool name_taken;
    bool deleted;
    bool put_back;
  } cases[] = {
      {"not yet copied", false, false, false, false, true},
      {"copied and verified", true, true, false, true, false},
      {"verified, copy gone since", true, false, false, false, true},
      {"not copied, name taken", false, false, true, false, false},
  };
  const std::string aside = kUninstall + app::SetAsideName("Gone");
  for (const auto& c : cases) {
    World setup;
    sim::Registry& registry = setup.sim.registry;
    platform::UniqueRegKey entry(registry);
    ASSERT_EQ(registry.OpenKeyItself(platform::kHkeyCurrentUser, kUninstall + "Gone",
                                     platform::kKeyAllAccess, entry.put()),
              platform::kRegOk);
    ASSERT_EQ(registry.RenameKey(entry.get(), app::SetAsideName("Gone")), platform::kRegOk);
    if (c.noted) app::WriteRemovalNote(registry, app::SetAsideName("Gone"), kCopy);
    if (c.copy_there) setup.sim.files.AddFile(kCopy, {2026, 12, 7});
    if (c.name_taken) registry.SetText(platform::kHkeyCurrentUser, kUninstall + "Gone", "New", "x");
    app::FinishSetAsideEntries(registry, setup.sim.files);
    EXPECT_EQ(registry.KeyExists(platform::kHkeyCurrentUser, aside), !c.deleted && !c.put_back)
        << c.label;
    EXPECT_EQ(registry.KeyExists(platform::kHkeyCurrentUser, kUninstall + "Gone\\Sub"), c.put_back)
        << c.label;
    // A note goes with the key it was about.
    EXPECT_FALSE(registry
                     .Value(platform::kHkeyCurrentUser,
                            "Software\\Quillon\\Tapwise Uninstaller\\Removals",
                            app::SetAsideName("Gone"))
                     .has_value())
        << c.label;
  }
}

// What each outcome tells the user.
TEST(EntryRemoval, EachOutcomeIsSaidAsItIs) {
  const struct {
    RemovalOutcome outcome;
    std::string text;
    std::uint32_t icon;
  } cases[] = {
      {RemovalOutcome::kRemoved,
       "\"App\" was removed from the list of programs. A copy of its entry is in:\r\rC:\\c.reg",
       platform::kMbIconInformation},
      {RemovalOutcome::kNotRemoved, "\"App\" is still in the list of programs.\r\rwhy",
       platform::kMbIconWarning},
      {RemovalOutcome::kPartlyRemoved,
       "\"App\" was only partly removed from the list of programs. A copy of its entry as it was "
       "is in:\r\rC:\\c.reg\r\rwhy",
       platform::kMbIconWarning},
      {RemovalOutcome::kNotKnown,
       "Whether \"App\" was removed from the list of programs is not known yet. A copy of its "
       "entry is in:\r\rC:\\c.reg",
       platform::kMbIconWarning},
      {RemovalOutcome::kHoldsLink,
       "\"App\" was not removed from the list of programs: its entry holds a registry link, which "
       "a copy cannot hold, and which could lead the removal outside the entry:\r\rHKCU\\L",
       platform::kMbIconWarning},
      {RemovalOutcome::kLeftAside,
       "\"App\" was not removed from the list of programs, and could not be put back under its "
       "own name, which was taken meanwhile. Its entry is now:\r\rHKCU\\L\r\rA copy of it is "
       "in:\r\rC:\\c.reg\r\rwhy",
       platform::kMbIconWarning},
      {RemovalOutcome::kNotCopied,
       "\"App\" was not removed from the list of programs: a copy of its entry could not be "
       "saved as:\r\rC:\\c.reg\r\rwhy",
       platform::kMbIconWarning},
  };
  for (const auto& c : cases) {
    const app::RemovalMessage message =
        app::RemovalResultMessage("App", app::Removal{c.outcome, "C:\\c.reg", "why", "HKCU\\L"});
    EXPECT_EQ(message.text, c.text);
    EXPECT_EQ(message.style, c.icon);
  }
}

// Through the menu: the box, held against the auto-close; Yes removes; "Last" stays unwritten.
TEST(EntryRemoval, YesFromTheMenuRemovesTheEntryAndSaysWhereItsCopyIs) {
  testing_support::Program program(Twins("Gone", {kCu}));
  sim::WindowSystem& ws = program.sim.windows;
  ws.ChooseMenuItem({"All Programs", "Gone App"}, 500);
  ws.AnswerBox(platform::kIdYes, 10000);  // longer than the auto-close period
  ws.AnswerBox(platform::kIdOk, 10000);
  program.Run();

  ASSERT_EQ(ws.Boxes().size(), 2u);
  EXPECT_EQ(ws.Boxes()[0].style,
            platform::kMbYesNo | platform::kMbIconWarning | platform::kMbDefButton2);
  EXPECT_EQ(ws.Boxes()[0].owner, platform::kNoWindow);
  EXPECT_EQ(ws.Boxes()[1].caption, "Tapwise Uninstaller");
  EXPECT_EQ(ws.Boxes()[1].owner, platform::kNoWindow);
  EXPECT_NE(ws.Boxes()[1].text.find("was removed from the list"), std::string::npos);
  EXPECT_EQ(ws.Now(), ws.Boxes()[1].closed_ms);
  EXPECT_FALSE(program.sim.registry.KeyExists(platform::kHkeyCurrentUser, kUninstall + "Gone"));
  EXPECT_FALSE(
      program.sim.registry
          .Value(platform::kHkeyCurrentUser, "Software\\Quillon\\Tapwise Uninstaller", "Last")
          .has_value());
  EXPECT_EQ(program.sim.file_store.Files().size(), 1u);
}

}  // namespace
