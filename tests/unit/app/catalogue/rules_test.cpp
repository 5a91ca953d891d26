// The program's rules as plain functions, without a form: the recent programs, the still-listed
// check, the running programs and the kill request.

#include <gtest/gtest.h>

#include "app/catalogue/catalogue.h"
#include "app/processes/processes.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_text_order.h"

namespace {

using Lines = std::vector<std::string>;

app::Catalogue CatalogueOf(const std::vector<std::pair<std::string, std::string>>& dated_names) {
  app::Catalogue catalogue;
  for (const auto& [date, name] : dated_names) {
    const app::ProgramEntry program{name, "C:\\" + name + "\\u.exe", {}, {}};
    catalogue.programs.push_back({name + "<#>" + program.command, program});
    if (!date.empty()) catalogue.dated.push_back({date + " " + name, program});
  }
  return catalogue;
}

Lines Names(const std::vector<app::ProgramEntry>& programs) {
  Lines names;
  for (const auto& program : programs) names.push_back(program.name);
  return names;
}

TEST(RecentPrograms, TheLastDatedLinesNewestFirstAtMostEight) {
  const struct {
    std::size_t dated;
    Lines expected;
  } cases[] = {
      {0, {}},
      {1, {"P0"}},
      {3, {"P2", "P1", "P0"}},
      {10, {"P9", "P8", "P7", "P6", "P5", "P4", "P3", "P2"}},
  };
  for (const auto& c : cases) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (std::size_t i = 0; i < c.dated; ++i) {
      entries.push_back({"2020010" + std::to_string(i % 10), "P" + std::to_string(i)});
    }
    entries.push_back({"", "Undated"});
    EXPECT_EQ(Names(app::RecentPrograms(CatalogueOf(entries))), c.expected) << c.dated;
  }
}

TEST(StillInstalled, NamesTheFirstProgramWithTheLastCommandAsciiCaseAside) {
  app::Catalogue catalogue = CatalogueOf({{"", "Foo"}, {"", "Bar"}});
  catalogue.programs.push_back({"Foo 2<#>C:\\FOO\\U.EXE", {"Foo 2", "C:\\FOO\\U.EXE", {}, {}}});
  const struct {
    std::string last;
    std::optional<std::string> expected;
  } cases[] = {
      {"", std::nullopt},
      {"C:\\Foo\\u.exe", "Foo"},
      {"c:\\bar\\U.EXE", "Bar"},
      {"C:\\Foo\\u.exe ", std::nullopt},
      {"C:\\Baz\\u.exe", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(app::StillInstalled(catalogue, c.last), c.expected) << c.last;
  }
}

TEST(RunningPrograms, DistinctExecutablesInListOrderWhatWasReadWhenTheTableFails) {
  const struct {
    std::string label;
    Lines running;
    std::optional<std::size_t> fail_after;
    Lines expected;
  } cases[] = {
      {"Distinct", {"b.exe", "a.exe", "b.exe", "A.EXE"}, std::nullopt, {"a.exe", "A.EXE", "b.exe"}},
      {"NotExecutables", {"System", "x.scr", "y.exe.old"}, std::nullopt, {}},
      {"FailsPartWay", {"c.exe", "a.exe", "b.exe"}, 2, {"a.exe", "c.exe"}},
  };
  for (const auto& c : cases) {
    sim::ProcessTable table;
    table.SetProcesses(c.running);
    if (c.fail_after) table.FailAfter(*c.fail_after);
    EXPECT_EQ(app::RunningPrograms(table, sim::CaselessOrder()), c.expected) << c.label;
    EXPECT_EQ(table.OpenSnapshotCount(), 0u) << c.label;
  }
}

TEST(KillStart, TheSystemsTaskKillElevatedWithTheNameAsOneArgument) {
  const struct {
    std::string name, directory;
    std::optional<std::string> file, parameters;
  } cases[] = {
      {"A&B.exe", "C:\\Windows\\system32", "C:\\Windows\\system32\\taskkill.exe",
       "/F /IM \"A&B.exe\" /T"},
      {"My Tool.exe", "C:\\", "C:\\taskkill.exe", "/F /IM \"My Tool.exe\" /T"},
      {"AB.exe", "", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    const auto start = app::KillStart(c.name, c.directory);
    ASSERT_EQ(start.has_value(), c.file.has_value()) << c.name;
    if (!start) continue;
    EXPECT_EQ(start->program, *c.file);
    EXPECT_TRUE(start->command_line.empty());
    EXPECT_EQ(start->parameters, *c.parameters);
    EXPECT_EQ(start->elevation, platform::Elevation::kAlways);
    EXPECT_EQ(start->follow, platform::Follow::kNothing);
    EXPECT_EQ(start->show, platform::kSwHideWindow);
  }
}

}  // namespace
