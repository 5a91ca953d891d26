// The "Kill Process" submenu.

#include <gtest/gtest.h>

#include "app/harness.h"

namespace {

using testing_support::Forms;
using Lines = std::vector<std::string>;

struct ProcessCase {
  std::string label;
  Lines running;
  Lines captions;
  friend void PrintTo(const ProcessCase& c, std::ostream* os) { *os << c.label; }
};

class ProcessMenuTest : public ::testing::TestWithParam<ProcessCase> {};

TEST_P(ProcessMenuTest, ListsEachExecutableNameOnce) {
  const ProcessCase& c = GetParam();
  Forms forms;
  forms.sim.processes.SetProcesses(c.running);
  forms.main_form->RebuildProcessMenu();
  EXPECT_EQ(Forms::Captions(forms.KillProcess()), c.captions);
  EXPECT_EQ(forms.sim.processes.OpenSnapshotCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ProcessMenuTest,
    ::testing::Values(
        ProcessCase{"Duplicates", Lines(10, "svchost.exe"), {"svchost.exe"}},
        ProcessCase{"CaseMakesADifferentName",
                    {"notepad.exe", "zed.exe", "NOTEPAD.EXE"},
                    {"notepad.exe", "NOTEPAD.EXE", "zed.exe"}},
        ProcessCase{"OnlyExecutables",
                    {"[System Process]", "System", "foo.scr", "foo.bin", "foo.exe.old", "Setup.ExE",
                     "dir.exe\\x", "c:foo"},
                    {"Setup.ExE"}},
        ProcessCase{
            "Sorted", {"zed.exe", "Alpha.exe", "beta.exe"}, {"Alpha.exe", "beta.exe", "zed.exe"}},
        ProcessCase{"ShownExactly", {"A&B.exe", "My Tool.exe"}, {"A&&B.exe", "My Tool.exe"}}),
    [](const auto& info) { return info.param.label; });

TEST(ProcessMenu, KeepsTheNameEachItemWasMadeFrom) {
  Forms forms;
  forms.sim.processes.SetProcesses({"A&B.exe"});
  forms.main_form->RebuildProcessMenu();
  const auto& item = dynamic_cast<const app::ProcessMenuItem&>((forms.KillProcess())[0]);
  EXPECT_EQ(item.ProcessName, "A&B.exe");
  EXPECT_EQ(item.Name, "ProcessItem");
}

TEST(ProcessMenu, ReadingFailuresKeepWhatWasRead) {
  Forms unavailable;
  unavailable.sim.processes.SetProcesses({"a.exe"});
  unavailable.sim.processes.SetUnavailable(true);
  unavailable.main_form->RebuildProcessMenu();
  EXPECT_EQ(unavailable.KillProcess().Count(), 0u);

  Forms failing;
  failing.sim.processes.SetProcesses({"b.exe", "a.exe", "b.exe", "c.exe"});
  failing.sim.processes.FailAfter(3);
  failing.main_form->RebuildProcessMenu();
  EXPECT_EQ(Forms::Captions(failing.KillProcess()), (Lines{"a.exe", "b.exe"}));
  EXPECT_EQ(failing.sim.processes.OpenSnapshotCount(), 0u);
}

}  // namespace
