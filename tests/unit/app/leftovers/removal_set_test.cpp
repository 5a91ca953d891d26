// A removal set over the substitute: each step failing in turn, and a crash at each step, leave
// every item either where it was or whole in the store, with a manifest that tells which.

#include "app/leftovers/removal_set.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/harness.h"
#include "app/leftovers/machine_leftovers.h"
#include "app/leftovers/removal_manifest.h"
#include "app/leftovers/set_restore.h"

namespace {

using app::ManifestStep;
using Operation = sim::FileStore::Operation;
constexpr platform::RegKey kCu = platform::kHkeyCurrentUser;
const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kSet = std::string(sim::kLocalAppData) + "\\Store\\S";
const std::string kOnC = "C:\\Users\\user\\AppData\\Roaming\\Acme\\Widget";
const std::string kOnD = "D:\\Games\\Widget";

struct Machine {
  sim::SimPlatform sim;
  platform::Platform bound = sim.Bind();
  std::vector<app::LeftoverItem> items;
  std::vector<app::LeftoverItem> offered;  // by the finder now

  explicit Machine(const std::string& folder) {
    sim.registry.SetText(kCu, kRun, "Widget", "\"C:\\W\\w.exe\"");
    Write(folder + "\\settings.ini", "[Widget]");
    Write(folder + "\\logs\\w.log", "run once");
    sim.file_store.CreateFolders(kSet);
    items = {{.kind = app::LeftoverKind::kFolder, .place = folder, .size = 16, .certain = true},
             {.kind = app::LeftoverKind::kRunValue,
              .root = kCu,
              .place = kRun,
              .value_name = "Widget",
              .certain = true}};
    offered = items;
  }
  void Write(const std::string& path, std::string_view text) {
    sim.file_store.CreateFolders(path.substr(0, path.find_last_of('\\')));
    sim.file_store.WriteNewFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
  }
  app::SetOutcome Remove() { return app::RemoveSet(bound, kSet, "R", items, offered); }
  std::optional<app::RemovalManifest> Manifest() {
    std::vector<std::uint8_t> bytes;
    sim.file_store.ReadWholeFile(kSet + "\\manifest.txt", app::kMostManifestBytes, bytes);
    return app::ReadManifest(std::string(bytes.begin(), bytes.end()));
  }
  std::string Steps() {
    std::string steps;
    for (const auto& step : Manifest().value_or(app::RemovalManifest{}).steps) {
      steps += std::to_string(step.item) + ":" + std::to_string(static_cast<int>(step.step)) + " ";
    }
    return steps;
  }
  bool Has(const std::string& path) {
    return sim.file_store.KindOf(path) != platform::PathKind::kMissing;
  }
  bool RunValueThere() { return sim.registry.Value(kCu, kRun, "Widget").has_value(); }
};

// Steps as Machine::Steps spells them.
constexpr int kCopied = 0, kVerified = 1, kMoved = 2, kDeleted = 3, kSkipped = 4;
std::string S(std::initializer_list<std::pair<int, int>> steps) {
  std::string text;
  for (const auto& [item, step] : steps)
    text += std::to_string(item) + ":" + std::to_string(step) + " ";
  return text;
}

TEST(RemovalSet, EachStepFailingLeavesEachItemWhereItWasOrWholeInTheStore) {
  const struct {
    const char* label;
    std::string folder;
    std::function<void(Machine&)> fault;
    bool folder_removed, folder_in_store, run_value_removed;
    std::string steps;
  } rows[] = {
      {"nothing fails", kOnC, [](Machine&) {}, true, true, true,
       S({{0, kMoved}, {0, kVerified}, {1, kCopied}, {1, kVerified}, {1, kDeleted}})},
      {"the move", kOnC, [](Machine& m) { m.sim.file_store.FailFrom(Operation::kMove, 1, 5); },
       false, false, true, S({{0, kSkipped}, {1, kCopied}, {1, kVerified}, {1, kDeleted}})},
      {"a hash", kOnC, [](Machine& m) { m.sim.file_store.FailFrom(Operation::kHash, 2, 5); }, false,
       false, true, S({{0, kSkipped}, {1, kCopied}, {1, kVerified}, {1, kDeleted}})},
      {"the check: changed since it was found", kOnC, [](Machine& m) { m.offered[0].size = 1; },
       false, false, true, S({{0, kSkipped}, {1, kCopied}, {1, kVerified}, {1, kDeleted}})},
      {"a folder above it is a link", kOnC,
       [](Machine& m) {
         m.sim.file_store.PutReparsePoint("C:\\Users\\user\\AppData\\Roaming\\Acme");
       },
       false, false, true, S({{0, kSkipped}, {1, kCopied}, {1, kVerified}, {1, kDeleted}})},
      {"the registry copy", kOnC,
       [](Machine& m) { m.sim.file_store.FailFrom(Operation::kWrite, 2, 5); }, true, true, false,
       S({{0, kMoved}, {0, kVerified}, {1, kSkipped}})},
      {"the manifest's first step: the move done goes on, nothing after", kOnC,
       [](Machine& m) { m.sim.file_store.FailFrom(Operation::kAppend, 1, 5); }, true, true, false,
       ""},
      {"across drives", kOnD, [](Machine&) {}, true, true, true,
       S({{0, kCopied},
          {0, kVerified},
          {0, kDeleted},
          {1, kCopied},
          {1, kVerified},
          {1, kDeleted}})},
      {"across drives, a copy", kOnD,
       [](Machine& m) { m.sim.file_store.FailFrom(Operation::kCopy, 2, 5); }, false, false, true,
       S({{0, kSkipped}, {1, kCopied}, {1, kVerified}, {1, kDeleted}})},
      {"across drives, a delete", kOnD,
       [](Machine& m) { m.sim.file_store.FailFrom(Operation::kDelete, 2, 5); }, false, true, true,
       S({{0, kCopied},
          {0, kVerified},
          {0, kSkipped},
          {1, kCopied},
          {1, kVerified},
          {1, kDeleted}})},
      {"across drives, an alternate stream", kOnD,
       [](Machine& m) { m.sim.file_store.PutAlternateStream(kOnD + "\\settings.ini"); }, false,
       false, true, S({{0, kSkipped}, {1, kCopied}, {1, kVerified}, {1, kDeleted}})},
      {"across drives, a link inside", kOnD,
       [](Machine& m) { m.sim.file_store.PutReparsePoint(kOnD + "\\logs\\elsewhere"); }, false,
       false, true, S({{0, kSkipped}, {1, kCopied}, {1, kVerified}, {1, kDeleted}})},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    Machine machine(row.folder);
    row.fault(machine);
    const app::SetOutcome set = machine.Remove();
    ASSERT_EQ(set.items.size(), 2u);
    EXPECT_EQ(set.items[0].removed, row.folder_removed) << set.items[0].reason;
    EXPECT_EQ(set.items[1].removed, row.run_value_removed) << set.items[1].reason;
    EXPECT_EQ(set.items[0].removed || !set.items[0].reason.empty(), true);
    const std::string stored = kSet + "\\1\\Widget\\logs\\w.log";
    EXPECT_EQ(machine.Has(row.folder + "\\logs\\w.log"), !row.folder_removed);
    EXPECT_EQ(machine.Has(stored), row.folder_in_store);
    EXPECT_EQ(machine.RunValueThere(), !row.run_value_removed);
    EXPECT_EQ(machine.Has(kSet + "\\2.reg"), row.run_value_removed);
    EXPECT_EQ(machine.Steps(), row.steps);
  }
}

// Whatever step the program ends at, each item is whole in one place at least, and the manifest
// that is left reads, and names the stored place of each.
TEST(RemovalSet, ACrashAtAnyStepLosesNothing) {
  for (const std::string& folder : {kOnC, kOnD}) {
    for (const Operation operation : {Operation::kMove, Operation::kCopy, Operation::kDelete,
                                      Operation::kAppend, Operation::kWrite}) {
      for (std::size_t nth = 1;; ++nth) {
        SCOPED_TRACE(folder + " op " + std::to_string(static_cast<int>(operation)) + " call " +
                     std::to_string(nth));
        Machine machine(folder);
        machine.sim.file_store.CrashAt(operation, nth);
        bool crashed = false;
        try {
          machine.Remove();
        } catch (const sim::FileStore::Crashed&) {
          crashed = true;
        }
        const bool folder_whole =
            machine.Has(folder + "\\logs\\w.log") && machine.Has(folder + "\\settings.ini");
        const bool stored_whole = machine.Has(kSet + "\\1\\Widget\\logs\\w.log") &&
                                  machine.Has(kSet + "\\1\\Widget\\settings.ini");
        EXPECT_TRUE(folder_whole || stored_whole);
        EXPECT_TRUE(machine.RunValueThere() || machine.Has(kSet + "\\2.reg"));
        const auto manifest = machine.Manifest();
        if (!machine.Has(kSet + "\\manifest.txt")) {
          EXPECT_TRUE(folder_whole && machine.RunValueThere())
              << "nothing moved without a manifest";
        } else {
          ASSERT_TRUE(manifest.has_value());
          EXPECT_EQ(manifest->items.at(0).stored, kSet + "\\1\\Widget");
        }
        if (!crashed) break;
      }
    }
  }
}

}  // namespace

namespace {

// The elevated step is started by name from a command line anyone could write: it refuses a set
// name that could lead out of the store, and a record that is not one.
TEST(MachineLeftovers, TheElevatedStepRefusesWhatItWouldNotHaveBeenGiven) {
  const std::string kRecords =
      std::string(sim::kLocalAppData) + "\\Quillon\\Tapwise Uninstaller\\Uninstall records";
  const struct {
    app::MachineLeftoversRequest request;
    app::StepExit exit;
  } rows[] = {
      {{kRecords + "\\r", "..\\..\\Windows"}, app::StepExit::kSetRefused},
      {{kRecords + "\\r", ""}, app::StepExit::kSetRefused},
      {{kRecords + "\\..\\r", "2026-12-08 10-00-00"}, app::StepExit::kRecordRefused},
      {{"r", "2026-12-08 10-00-00"}, app::StepExit::kRecordRefused},
      {{kRecords + "\\none", "2026-12-08 10-00-00"}, app::StepExit::kRecordRefused},
  };
  for (const auto& row : rows) {
    sim::SimPlatform sim;
    platform::Platform bound = sim.Bind();
    EXPECT_EQ(app::RunMachineLeftoversRemoval(bound, row.request), row.exit)
        << row.request.record_folder << " " << row.request.set_name;
  }
}

}  // namespace

namespace {

using app::ItemBack;

std::vector<ItemBack> Backs(const app::SetRestore& restore) {
  std::vector<ItemBack> backs;
  for (const auto& item : restore.items) backs.push_back(item.back);
  return backs;
}

// A set put back: each item whole in its place again and verified, never over what is there
// now; a restore cut short, or a removal cut short, goes on where it stopped.
TEST(SetRestore, EachItemComesBackWholeOrStaysInTheStoreNamed) {
  const struct {
    const char* label;
    std::string folder;
    std::function<void(Machine&)> before_removal, before_restore;
    std::vector<ItemBack> backs;
    bool folder_whole_in_place, run_value_there;
  } rows[] = {
      {"both back",
       kOnC,
       [](Machine&) {},
       [](Machine&) {},
       {ItemBack::kRestored, ItemBack::kRestored},
       true,
       true},
      {"both back across drives",
       kOnD,
       [](Machine&) {},
       [](Machine&) {},
       {ItemBack::kRestored, ItemBack::kRestored},
       true,
       true},
      {"something in each place now",
       kOnC,
       [](Machine&) {},
       [](Machine& m) {
         m.Write(kOnC + "\\new.txt", "someone else's");
         m.sim.registry.SetText(kCu, kRun, "Widget", "other");
       },
       {ItemBack::kInTheWay, ItemBack::kInTheWay},
       false,
       true},
      {"a removal cut short before the original went",
       kOnD,
       [](Machine& m) { m.sim.file_store.CrashAt(Operation::kDelete, 1); },
       [](Machine&) {},
       {ItemBack::kAlreadyBack, ItemBack::kAlreadyBack},
       true,
       true},
      {"a move back that fails",
       kOnC,
       [](Machine&) {},
       [](Machine& m) { m.sim.file_store.FailFrom(Operation::kMove, 1, 5); },
       {ItemBack::kFailed, ItemBack::kRestored},
       false,
       true},
      {"a store copy changed",
       kOnC,
       [](Machine&) {},
       [](Machine& m) { m.sim.file_store.ChangeFile(kSet + "\\1\\Widget\\settings.ini", {'x'}); },
       {ItemBack::kFailed, ItemBack::kRestored},
       false,
       true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    Machine machine(row.folder);
    row.before_removal(machine);
    try {
      machine.Remove();
    } catch (const sim::FileStore::Crashed&) {
    }
    row.before_restore(machine);
    const app::SetRestore restore = app::RestoreSet(machine.bound, kSet);
    EXPECT_EQ(Backs(restore), row.backs) << restore.failure;
    EXPECT_EQ(
        machine.Has(row.folder + "\\logs\\w.log") && machine.Has(row.folder + "\\settings.ini"),
        row.folder_whole_in_place);
    EXPECT_EQ(machine.RunValueThere(), row.run_value_there);
    EXPECT_EQ(app::AllBack(app::RestoreSet(machine.bound, kSet)),
              row.folder_whole_in_place && row.backs[1] != ItemBack::kInTheWay)
        << "a second restore finds the restored ones back";
  }
}

}  // namespace
