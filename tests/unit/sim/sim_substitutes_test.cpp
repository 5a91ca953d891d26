// The small substitutes: processes, file dates, launches, the list order and the bundle.

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "platform/sim/sim_platform.h"

namespace {

std::vector<std::string> ReadAll(sim::ProcessTable& table, platform::SnapshotHandle snapshot) {
  std::vector<std::string> names;
  std::string name;
  for (bool ok = table.First(snapshot, name); ok; ok = table.Next(snapshot, name)) {
    names.push_back(name);
  }
  return names;
}

TEST(SimProcesses, SnapshotsListNamesInOrderAsTheyWere) {
  sim::ProcessTable table;
  table.SetProcesses({"explorer.exe", "My Tool.exe", "A&B.exe"});
  const auto snapshot = table.CreateSnapshot(platform::kSnapProcess, 0);
  ASSERT_NE(snapshot, 0u);
  table.SetProcesses({"other.exe"});
  EXPECT_EQ(ReadAll(table, snapshot),
            (std::vector<std::string>{"explorer.exe", "My Tool.exe", "A&B.exe"}));
  EXPECT_EQ(table.OpenSnapshotCount(), 1u);
  table.Close(snapshot);
  EXPECT_EQ(table.OpenSnapshotCount(), 0u);
  std::string name;
  EXPECT_FALSE(table.First(snapshot, name));
}

TEST(SimProcesses, FailuresForTheCallersGuards) {
  sim::ProcessTable table;
  table.SetProcesses({"a.exe", "b.exe", "c.exe"});
  table.SetUnavailable(true);
  EXPECT_EQ(table.CreateSnapshot(platform::kSnapProcess, 0), 0u);
  table.SetUnavailable(false);

  table.FailAfter(2);
  const auto snapshot = table.CreateSnapshot(platform::kSnapProcess, 0);
  std::string name;
  EXPECT_TRUE(table.First(snapshot, name));
  EXPECT_TRUE(table.Next(snapshot, name));
  EXPECT_THROW(table.Next(snapshot, name), std::runtime_error);
  table.Close(snapshot);

  const auto without_processes = table.CreateSnapshot(0, 0);
  EXPECT_FALSE(table.First(without_processes, name));
  table.Close(without_processes);
  EXPECT_EQ(table.OpenSnapshotCount(), 0u);
}

TEST(SimFiles, LookupsIgnoreAsciiCaseOnly) {
  sim::FileTable files;
  files.AddFile("C:\\Foo\\foo.exe", {2021, 3, 9});
  files.AddFile("C:\\Old\\old.exe", {1979, 12, 31});
  files.AddFile("C:\\Far\\far.exe", {2108, 1, 1});
  files.AddDirectory("C:\\Foo");
  files.AddUnconvertibleFile("C:\\Odd.exe");
  struct Case {
    const char* path;
    bool found;
  };
  const Case cases[] = {
      {"C:\\Foo\\foo.exe", true},      {"c:\\FOO\\FOO.EXE", true},  {"C:/Foo/foo.exe", false},
      {"\"C:\\Foo\\foo.exe\"", false}, {"C:\\Foo", false},          {"C:\\Odd.exe", false},
      {"C:\\Old\\old.exe", false},     {"C:\\Far\\far.exe", false}, {"C:\\Missing.exe", false},
  };
  for (const Case& c : cases) {
    const auto date = files.LastWriteDate(c.path);
    EXPECT_EQ(date.has_value(), c.found) << c.path;
    if (date) {
      EXPECT_EQ(date->year * 10000 + date->month * 100 + date->day, 20210309);
    }
  }
  EXPECT_EQ(files.Queries().size(), std::size(cases));
}

// One table of starts: how each is played and recorded, and what its waits give. Every start is
// made at 700 ms and waited for twice, for at most 10 s each time.
TEST(SimLauncher, EveryStartRecordedWithItsTimeAndPlayedAsScripted) {
  using platform::Elevation;
  using platform::Follow;
  using Run = sim::LaunchRecorder::ScriptedRun;
  constexpr auto kNone = platform::RunEnd::kNotKnown;
  constexpr auto kEnded = platform::RunEnd::kEnded;
  constexpr auto kRunning = platform::RunEnd::kRunning;
  const platform::StartSpec page{.program = "http://example.invalid/", .show = 1, .verb = "open"};
  const platform::StartSpec direct{
      .program = "C:\\M\\m.exe", .command_line = "m.exe /X", .directory = "C:\\M", .show = 0};
  auto with = [](platform::StartSpec asked, Elevation elevation, Follow follow) {
    asked.elevation = elevation;
    asked.follow = follow;
    return asked;
  };
  const auto job = with(direct, Elevation::kWhenNeeded, Follow::kJob);
  const auto process = with(direct, Elevation::kNever, Follow::kProcess);
  enum Way { kDirect, kShell, kRunas };
  struct Given {
    platform::StartSpec asked;
    platform::StartError direct_result, shell_result;
    Run tracked;
    std::optional<Run> action = {};  // what the started program does, instead of the script
  };
  struct Seen {
    Way way;
    platform::StartError error;
    platform::RunEnd first, second;
    std::uint32_t exit_code;
    std::int64_t waited_ms;
  };
  const struct {
    const char* label;
    Given given;
    Seen seen;
  } cases[] = {
      {"page", {page, 5, 0, {}}, {kShell, 0, kNone, kNone, 0, 0}},
      {"page refused", {page, 0, 2, {}}, {kShell, 2, kNone, kNone, 0, 0}},
      // The script is for followed starts only.
      {"unfollowed", {direct, 0, 5, {2, 500, 1}}, {kDirect, 0, kNone, kNone, 0, 0}},
      {"refused", {direct, 5, 0, {}}, {kDirect, 5, kNone, kNone, 0, 0}},
      {"740, never asks", {direct, 740, 0, {}}, {kDirect, 740, kNone, kNone, 0, 0}},
      {"740, granted", {job, 740, 0, {0, 4000, 3}}, {kRunas, 0, kEnded, kEnded, 3, 4000}},
      {"740, declined", {job, 740, 1223, {0, 4000, 3}}, {kRunas, 1223, kNone, kNone, 0, 0}},
      {"at the bound", {job, 0, 1223, {0, 10000, 9}}, {kDirect, 0, kEnded, kEnded, 9, 10000}},
      {"past a bound", {job, 0, 0, {0, 15000, 7}}, {kDirect, 0, kRunning, kEnded, 7, 15000}},
      {"fails to start", {job, 0, 0, {193}}, {kDirect, 193, kNone, kNone, 0, 0}},
      {"no handle", {process, 0, 0, {0, 3000, 0, false}}, {kDirect, 0, kNone, kNone, 0, 0}},
      {"runas, played",
       {with(page, Elevation::kAlways, Follow::kProcess), 0, 0, {0, 9000, 9}, Run{0, 500, 1}},
       {kRunas, 0, kEnded, kEnded, 1, 500}},
      {"runas, past both bounds",
       {with(direct, Elevation::kAlways, Follow::kProcess), 740, 0, {}, Run{0, 30000, 0}},
       {kRunas, 0, kRunning, kRunning, 0, 20000}},
  };
  for (const auto& [label, given, seen] : cases) {
    sim::SimPlatform sim;
    sim.launcher.SetDirectStartResult(given.direct_result);
    sim.launcher.SetShellStartResult(given.shell_result);
    sim.launcher.SetTrackedRun(given.tracked);
    int played = 0;
    if (given.action) {
      sim.launcher.SetStartAction([&played, action = *given.action](const platform::StartSpec&) {
        ++played;
        return action;
      });
    }
    sim.windows.Wait(700);
    platform::Started started = sim.launcher.Start(given.asked);
    EXPECT_EQ(started.Error(), seen.error) << label;
    const platform::RunOutcome first = started.Wait(10000);
    const platform::RunOutcome second = started.Wait(10000);
    EXPECT_EQ(std::tuple(first.end, second.end, second.exit_code),
              std::tuple(seen.first, seen.second, seen.exit_code))
        << label;
    EXPECT_EQ(sim.windows.Now() - 700, seen.waited_ms) << label;
    EXPECT_EQ(played, given.action ? 1 : 0) << label;
    ASSERT_EQ(sim.launcher.Launches().size(), 1u) << label;
    const sim::Launch& launch = sim.launcher.Launches()[0];
    EXPECT_EQ(std::tuple(launch.time_ms, launch.through_shell, launch.elevated, launch.result),
              std::tuple(std::int64_t{700}, seen.way != kDirect, seen.way == kRunas, seen.error))
        << label;
    // The start is kept as it was asked for, also when it was started again with rights.
    const platform::StartSpec& kept = launch.asked;
    const platform::StartSpec& asked = given.asked;
    EXPECT_EQ(std::tie(kept.program, kept.command_line, kept.directory, kept.verb, kept.show,
                       kept.elevation, kept.follow),
              std::tie(asked.program, asked.command_line, asked.directory, asked.verb, asked.show,
                       asked.elevation, asked.follow))
        << label;
  }
}

int Sign(int value) {
  return (value > 0) - (value < 0);
}

TEST(SimTextOrder, CaselessByteOrder) {
  struct Case {
    const char* a;
    const char* b;
    int sign;
  };
  const Case cases[] = {
      {"abc", "ABC", 0},          {"apple", "Banana", -1}, {"foo", "Foo 2", -1},
      {"Foo 2<#>", "foo<#>", -1}, {"_x", "ax", 1},         {"co-op", "coop", -1},
      {"\xC3\xA9", "z", 1},       {"", "a", -1},           {"", "", 0},
  };
  const sim::CaselessOrder order;
  for (const Case& c : cases) {
    EXPECT_EQ(Sign(order.Compare(c.a, c.b)), c.sign) << c.a << " vs " << c.b;
    EXPECT_EQ(Sign(order.Compare(c.b, c.a)), -c.sign) << c.b << " vs " << c.a;
  }
}

}  // namespace
