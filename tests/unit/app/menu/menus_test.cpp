// The program submenus and the still-present prompt.

#include <gtest/gtest.h>

#include "app/harness.h"

namespace {

using testing_support::Entry;
using testing_support::Forms;
using testing_support::kCu;
using testing_support::kLm32;
using testing_support::kLm64;
using testing_support::Last;
using Lines = std::vector<std::string>;

std::string Named(const std::string& key, const std::string& name, const std::string& extra = "") {
  std::vector<std::string> values{"\"DisplayName\"=\"" + name + "\""};
  if (!extra.empty()) values.push_back(extra);
  // Windows' list leaves out an entry with nothing to run.
  if (extra.find("UninstallString") == std::string::npos) {
    values.push_back("\"UninstallString\"=\"C:\\\\" + key + "\\\\u.exe\"");
  }
  return Entry(kLm32 + key, values);
}

std::string Dated(int n) {
  char date[16];
  std::snprintf(date, sizeof date, "202001%02d", n);
  return Named("P" + std::to_string(n), "Program " + std::to_string(n),
               "\"InstallDate\"=\"" + std::string(date) + "\"");
}

TEST(ProgramMenus, AllProgramsIsSortedAndShowsNamesExactly) {
  Forms forms(Named("1", "beta") + Named("2", "Alpha") + Named("3", "AT&T Connect") +
              Named("4", "Foo 2") + Named("5", "Foo") +
              Named("6", "Odd<#>Name", R"("UninstallString"="u.exe")"));
  forms.main_form->RebuildProgramMenus();
  ASSERT_EQ(Forms::Captions(forms.AllPrograms()),
            (Lines{"Alpha", "AT&&T Connect", "beta", "Foo 2", "Foo", "Odd<#>Name"}));
  // Every item keeps the program it was made from.
  const auto& odd = dynamic_cast<const app::ProgramMenuItem&>((forms.AllPrograms())[5]);
  EXPECT_EQ(odd.Program.name, "Odd<#>Name");
  EXPECT_EQ(odd.Program.command, "u.exe");
  EXPECT_EQ(odd.Name, "ProgramItem");
}

TEST(ProgramMenus, RecentProgramsHoldsTheEightNewestNewestFirst) {
  const struct {
    int dated;
    Lines expected;
  } cases[] = {
      {10,
       {"Program 10", "Program 9", "Program 8", "Program 7", "Program 6", "Program 5", "Program 4",
        "Program 3"}},
      {3, {"Program 3", "Program 2", "Program 1"}},
      {0, {}},
  };
  for (const auto& c : cases) {
    std::string reg;
    for (int n = 1; n <= c.dated; ++n) reg += Dated(n);
    Forms forms(reg);
    forms.main_form->RebuildProgramMenus();
    EXPECT_EQ(Forms::Captions(forms.RecentPrograms()), c.expected) << c.dated;
  }
}

TEST(ProgramMenus, RecentCaptionIsTheWholeName) {
  Forms forms(Named("1", "R&D Tool", R"("InstallDate"="20200103")"));
  forms.main_form->RebuildProgramMenus();
  ASSERT_EQ(Forms::Captions(forms.RecentPrograms()), (Lines{"R&&D Tool"}));
  EXPECT_EQ((forms.RecentPrograms())[0].Name, "RecentItem");
}

TEST(ProgramMenus, RebuildReplacesEverything) {
  Forms forms(Named("1", "Alpha", R"("InstallDate"="20200101")"));
  forms.main_form->RebuildProgramMenus();
  forms.sim.registry.LoadRegText(std::string(testing_support::kRegHeader) +
                                 Named("2", "Beta", R"("InstallDate"="20200102")"));
  forms.main_form->RebuildProgramMenus();
  EXPECT_EQ(Forms::Captions(forms.AllPrograms()), (Lines{"Alpha", "Beta"}));
  EXPECT_EQ(Forms::Captions(forms.RecentPrograms()), (Lines{"Beta", "Alpha"}));
}

TEST(ProgramMenus, ReadsEachKeyOnce) {
  // Under WOW64 the machine has two keys, one per view; the user's key is shared by both views,
  // and on 32-bit Windows there is one machine key, which the 64-bit flag reaches again.
  const std::string u = R"("UninstallString"="u.exe")";
  const std::string catalogue = Entry(kLm32 + "A", {R"("DisplayName"="Foo")", u}) +
                                Entry(kLm64 + "A", {R"("DisplayName"="Foo")", u}) +
                                Entry(kLm64 + "B", {R"("DisplayName"="Native")", u}) +
                                Entry(kCu + "A", {R"("DisplayName"="Bar")", u}) +
                                Entry(kCu + "F", {R"("DisplayName"="Foo")", u});
  const struct {
    bool system64;
    Lines all;
  } systems[] = {
      {true, {"Bar", "Foo", "Foo", "Foo", "Native"}},
      {false, {"Bar", "Foo", "Foo", "Native"}},
  };
  for (const auto& system : systems) {
    Forms forms;
    forms.sim.registry.SetSystem64(system.system64);
    forms.sim.registry.LoadRegText(std::string(testing_support::kRegHeader) + catalogue);
    forms.main_form->RebuildProgramMenus();
    EXPECT_EQ(Forms::Captions(forms.AllPrograms()), system.all) << system.system64;
  }
}

TEST(ProgramMenus, ADashIsANameNotASeparator) {
  Forms forms(Named("1", "-", R"("InstallDate"="20200101")"));
  forms.main_form->RebuildProgramMenus();
  ASSERT_EQ(forms.AllPrograms().Count(), 1u);
  ASSERT_EQ(forms.RecentPrograms().Count(), 1u);
  EXPECT_FALSE((forms.AllPrograms())[0].IsSeparator());
  EXPECT_FALSE((forms.RecentPrograms())[0].IsSeparator());
}

const std::string kPromptText =
    "You tried to uninstall \"Foo\", but it still exists.\r\r"
    "Would you like to uninstall it using more powerful uninstaller?";

struct PromptCase {
  std::string label;
  std::string reg;
  bool activating;
  int prompts;
  bool last_remains;
  friend void PrintTo(const PromptCase& c, std::ostream* os) { *os << c.label; }
};

class PromptTest : public ::testing::TestWithParam<PromptCase> {};

TEST_P(PromptTest, PromptsOncePerMatchingLine) {
  const PromptCase& c = GetParam();
  Forms forms(c.reg);
  // The start-up build, or the build the options dialog asks for.
  forms.state.cycle = c.activating ? app::CycleState::kBuilding : app::CycleState::kWindowShown;
  forms.main_form->RebuildProgramMenus();

  // One question at most, asked once the build is done (the Yes and No runs below show it).
  EXPECT_EQ(forms.main_form->StillInstalled().has_value(), c.prompts == 1);
  if (c.prompts == 1) {
    EXPECT_EQ(*forms.main_form->StillInstalled(), "Foo");
  }
  const bool remains =
      forms.sim.registry
          .Value(platform::kHkeyCurrentUser, "Software\\Quillon\\Tapwise Uninstaller", "Last")
          .has_value();
  EXPECT_EQ(remains, c.last_remains);
  // Whatever the answer, the start-up build arms the auto-close for the menu that follows; the
  // build the options dialog asks for leaves the flag as it found it.
  EXPECT_EQ(app::AutoCloseArmed(forms.state.cycle), c.activating);
}

const std::string kFoo = Entry(
    kLm32 + "Foo", {R"("DisplayName"="Foo")", R"("UninstallString"="c:\\foo\\UNINS000.EXE")"});

const std::string kFooEverywhere =
    kFoo +
    Entry(kLm64 + "Foo",
          {R"("DisplayName"="Foo")", R"("UninstallString"="C:\\FOO\\unins000.exe")"}) +
    Entry(kCu + "Foo", {R"("DisplayName"="Foo")", R"("UninstallString"="c:\\foo\\unins000.exe")"});

INSTANTIATE_TEST_SUITE_P(
    LastCommand, PromptTest,
    ::testing::Values(
        PromptCase{"MatchIgnoringCase", kFoo + Last("C:\\Foo\\unins000.exe"), true, 1, false},
        PromptCase{"NoLastCommand", kFoo, true, 0, false},
        PromptCase{"NoMatch", kFoo + Last("C:\\Bar\\unins000.exe"), true, 0, false},
        PromptCase{"EmptyLastMatchesNothing",
                   // A Windows Installer product listed without a command.
                   Entry(kLm32 + "{00000000-0000-0000-0000-000000000001}",
                         {R"("DisplayName"="Foo")", "\"WindowsInstaller\"=dword:00000001"}) +
                       Last(""),
                   true, 0, false},
        // One program listed in every view and root is still asked about once.
        PromptCase{"ListedInEveryView", kFooEverywhere + Last("C:\\Foo\\unins000.exe"), true, 1,
                   false},
        // A Windows Installer entry without a command is matched by the command it was
        // removed with.
        PromptCase{"InstallerEntryWithoutACommand",
                   Entry(kLm32 + "{BDF63D8D-942F-4DC6-BF44-9EE03A7205F6}",
                         {R"("DisplayName"="Foo")", "\"WindowsInstaller\"=dword:00000001"}) +
                       Last("msiexec.exe /x{BDF63D8D-942F-4DC6-BF44-9EE03A7205F6}"),
                   true, 1, false},
        PromptCase{"NotWhileRebuildingFromOptions", kFoo + Last("C:\\Foo\\unins000.exe"), false, 0,
                   false},
        PromptCase{"UnreadableLastStays",
                   kFoo + "[HKEY_CURRENT_USER\\Software\\Quillon\\Tapwise Uninstaller]\n"
                          "\"Last\"=dword:00000001\n\n",
                   true, 0, true}),
    [](const auto& info) { return info.param.label; });

// After "Yes" the user is on the tools page: no menu comes, and the program ends.
TEST(Prompt, YesOpensTheToolsPageOnceAndEndsTheProgramWithoutAMenu) {
  testing_support::Program program(kFooEverywhere + Last("C:\\Foo\\unins000.exe"));
  program.sim.windows.AnswerBox(platform::kIdYes);
  program.Run();

  ASSERT_EQ(program.sim.windows.Boxes().size(), 1u);
  const sim::BoxRecord& box = program.sim.windows.Boxes()[0];
  EXPECT_EQ(box.text, kPromptText);
  EXPECT_EQ(box.caption, "Tapwise Uninstaller");
  EXPECT_EQ(box.style, platform::kMbYesNo | platform::kMbIconInformation);
  EXPECT_NE(box.owner, platform::kNoWindow) << "owned by the application's window";
  EXPECT_TRUE(program.sim.windows.Popups().empty());
  EXPECT_EQ(program.sim.windows.Now(), box.closed_ms);
  const auto& launches = program.sim.launcher.Launches();
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_TRUE(launches[0].through_shell);
  EXPECT_EQ(launches[0].asked.verb, "open");
  EXPECT_EQ(launches[0].asked.program,
            "https://www.quillon-software.com/tapwise-uninstaller/tools.php?ver=1.9");
  EXPECT_EQ(launches[0].asked.show, platform::kSwShowNormalWindow);
}

// After "No" the menu comes up as at any start.
TEST(Prompt, NoShowsTheMenu) {
  testing_support::Program program(kFoo + Last("C:\\Foo\\unins000.exe"));
  program.sim.windows.AnswerBox(platform::kIdNo);
  program.sim.windows.DismissMenu();
  program.Run();
  ASSERT_EQ(program.sim.windows.Boxes().size(), 1u);
  ASSERT_EQ(program.sim.windows.Popups().size(), 1u);
  EXPECT_GE(program.sim.windows.Popups()[0].time_ms, program.sim.windows.Boxes()[0].closed_ms);
  EXPECT_TRUE(program.sim.launcher.Launches().empty());
}

}  // namespace
