// The small substitutes: processes, file dates, launches, the list order and the bundle.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
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

TEST(SimLauncher, RecordsEveryStartWithItsTime) {
  sim::SimPlatform sim;
  platform::Platform bound = sim.Bind();
  sim.windows.At(700, [&] {
    bound.launcher.Execute(5, "open", "http://example.invalid/", "", "", 1);
    platform::ShellExecuteRequest request;
    request.mask = platform::kSeeMaskFlagNoUi;
    request.verb = "runas";
    request.file = "cmd.exe";
    request.parameters = "/C taskkill";
    bound.launcher.ExecuteEx(request);
  });
  sim.windows.At(900, [&] {
    bound.launcher.StartProcess({"C:\\M\\m.exe", "MsiExec.exe /X{1}", "C:\\M", 0});
  });
  sim.windows.At(1000, [&] { sim.windows.PostQuit(0); });
  platform::Message m;
  while (!sim.windows.PeekNext(m)) sim.windows.WaitMessage();

  const auto& launches = sim.launcher.Launches();
  ASSERT_EQ(launches.size(), 3u);
  EXPECT_EQ(launches[0].kind, sim::Launch::Kind::kExecute);
  EXPECT_EQ(launches[0].time_ms, 700);
  EXPECT_EQ(launches[0].request.owner, 5u);
  EXPECT_EQ(launches[0].request.verb, "open");
  EXPECT_EQ(launches[0].request.show, 1);
  EXPECT_EQ(launches[1].kind, sim::Launch::Kind::kExecuteEx);
  EXPECT_EQ(launches[1].request.verb, "runas");
  EXPECT_EQ(launches[1].request.mask, platform::kSeeMaskFlagNoUi);
  EXPECT_EQ(launches[2].kind, sim::Launch::Kind::kStartProcess);
  EXPECT_EQ(launches[2].time_ms, 900);
  EXPECT_EQ(launches[2].start.application, "C:\\M\\m.exe");
  EXPECT_EQ(launches[2].start.command_line, "MsiExec.exe /X{1}");
  EXPECT_EQ(launches[2].start.directory, "C:\\M");
  EXPECT_EQ(launches[2].start.show, 0);
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

// Jobs run one after another in the list's order; a failure does not stop the rest.
TEST(SimWorkers, RunInOrderAndRaiseTheFirstFailureAfterAll) {
  sim::SerialWorkers workers;
  std::vector<int> order;
  auto job = [&](int n, bool fails) {
    return [&order, n, fails] {
      order.push_back(n);
      if (fails) throw std::runtime_error("job " + std::to_string(n));
    };
  };
  EXPECT_THROW(
      {
        try {
          workers.RunAll({job(0, false), job(1, true), job(2, true), job(3, false)}, 4);
        } catch (const std::runtime_error& failure) {
          EXPECT_STREQ(failure.what(), "job 1");
          throw;
        }
      },
      std::runtime_error);
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(workers.JobsRun(), 4u);
}

}  // namespace
