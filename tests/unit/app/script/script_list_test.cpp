// The list for scripts over the substitute registry: the menu's programs in the menu's order,
// each with what its entry says, written whole where it was asked for.

#include "app/script/script_list.h"

#include <gtest/gtest.h>

#include <map>

#include "app/harness.h"
#include "app/listing/list_csv.h"
#include "app/listing/list_json.h"
#include "platform/text.h"

namespace {

using testing_support::Entry, testing_support::Forms, testing_support::kCu;
using testing_support::kLm32, testing_support::kLm64;

const std::string kZed = "\"UninstallString\"=\"C:\\\\Zed\\\\u.exe\"";

// Three views, the names in no order; what Windows' list hides, a Microsoft name the options
// leave out, an orphan, one that goes quietly and set-aside keys.
std::string Catalogue() {
  return Entry(kLm32 + "Zed", {"\"DisplayName\"=\"zed & co\"", kZed, "\"DisplayVersion\"=\"2.0\"",
                               "\"Publisher\"=\"Zed Ltd\"", "\"EstimatedSize\"=dword:00001000",
                               "\"InstallDate\"=\"20230501\""}) +
         Entry(kLm64 + "alpha", {"\"DisplayName\"=\"Alpha\"", kZed, "\"EstimatedSize\"=\"12\"",
                                 "\"QuietUninstallString\"=\"C:\\\\Zed\\\\u.exe /S\""}) +
         Entry(kCu + "Gone",
               {"\"DisplayName\"=\"Gone\"", "\"UninstallString\"=\"C:\\\\G\\\\u.exe\"",
                "\"InstallDate\"=\"20231399\""}) +
         Entry(kLm32 + "Part", {"\"DisplayName\"=\"Beta\"", kZed, "\"SystemComponent\"=dword:1"}) +
         Entry(kLm32 + "Ms", {"\"DisplayName\"=\"Microsoft Thing\"", kZed}) +
         Entry(kLm32 + "~Tapwise removing~ x", {"\"DisplayName\"=\"Not Set Aside\"", kZed}) +
         Entry(kCu + "~Tapwise removing~ Old", {"\"DisplayName\"=\"Set Aside\"", kZed});
}

struct ListRun {
  sim::SimPlatform sim;
  platform::Platform bound = sim.Bind();
  ListRun() {
    sim.registry.LoadRegText(std::string(testing_support::kRegHeader) + Catalogue());
    sim.files.AddFile("C:\\Zed\\u.exe", {2021, 2, 3});
  }
};

std::vector<std::string> Captions(const std::vector<app::ListedProgram>& programs) {
  std::vector<std::string> names;
  for (const auto& program : programs) names.push_back(text::EscapeAccessKeys(program.name));
  return names;
}

TEST(ScriptList, HoldsExactlyTheMenusProgramsInItsOrderAndTheHiddenOnesOnlyWithAll) {
  Forms forms(Catalogue());
  ListRun run;
  for (const bool all : {false, true}) {
    forms.state.options.show_system_components = all;
    forms.main_form->RebuildProgramMenus();
    EXPECT_EQ(Captions(app::ListedPrograms(run.bound, all)), Forms::Captions(forms.AllPrograms()));
  }
  EXPECT_EQ(Captions(app::ListedPrograms(run.bound, true)),
            (std::vector<std::string>{"Alpha", "Beta", "Gone", "Not Set Aside", "zed && co"}));
}

TEST(ScriptList, EachProgramWithWhatItsEntrySays) {
  ListRun run;
  const std::vector<app::ListedProgram> listed = app::ListedPrograms(run.bound, false);
  ASSERT_EQ(listed.size(), 4u);
  const app::ListedProgram &alpha = listed[0], &gone = listed[1], &zed = listed[3];
  EXPECT_EQ(alpha.id, "HKLM64/alpha");
  EXPECT_FALSE(alpha.size_kb) << "a size that is no DWORD is none";
  ASSERT_TRUE(alpha.installed);
  EXPECT_EQ(alpha.installed->source, app::DateSource::kFileDate);
  EXPECT_EQ(app::DayText(*alpha.installed), "2021-02-03");
  EXPECT_TRUE(alpha.quiet && !alpha.orphaned);
  EXPECT_EQ(gone.id, "HKCU/Gone");
  EXPECT_FALSE(gone.installed) << "20231399 sorts among the recent, but is no day";
  EXPECT_TRUE(!gone.quiet && gone.orphaned);
  EXPECT_EQ(listed[2].id, "HKLM32/~Tapwise%20removing~%20x") << "set aside only in the user's key";
  EXPECT_EQ(zed.version, "2.0");
  EXPECT_EQ(zed.publisher, "Zed Ltd");
  EXPECT_EQ(zed.size_kb, 4096u);
  ASSERT_TRUE(zed.installed);
  EXPECT_EQ(zed.installed->source, app::DateSource::kInstallDateValue);
}

// Windows Installer is asked once for every product it knows, not once an entry.
TEST(ScriptList, AnInstallerProductIsOrphanedWhenWindowsInstallerDoesNotKnowIt) {
  const std::string known = "{11111111-1111-1111-1111-111111111111}";
  const std::string gone = "{22222222-2222-2222-2222-222222222222}";
  ListRun run;
  for (const std::string& code : {known, gone}) {
    run.sim.registry.LoadRegText(
        std::string(testing_support::kRegHeader) +
        Entry(kLm32 + code, {"\"DisplayName\"=\"Product " + code.substr(1, 1) + "\"",
                             "\"WindowsInstaller\"=dword:00000001"}));
  }
  run.sim.files.AddFile("C:\\Windows\\system32\\msiexec.exe", {2021, 2, 3});
  run.sim.launcher.SetInstallerProducts(std::vector<std::string>{known});
  std::map<std::string, bool> orphaned;
  for (const auto& program : app::ListedPrograms(run.bound, false)) {
    orphaned[program.name] = program.orphaned;
  }
  EXPECT_FALSE(orphaned.at("Product 1"));
  EXPECT_TRUE(orphaned.at("Product 2"));
  EXPECT_TRUE(run.sim.launcher.ProductQueries().empty());
}

TEST(ScriptList, GoesToStandardOutputOrReplacesTheFileWhole) {
  const std::string file = "C:\\Lists\\programs.csv";
  ListRun run;
  run.sim.file_store.CreateFolders("C:\\Lists");
  run.sim.file_store.WriteNewFile(file, {'o', 'l', 'd'});
  EXPECT_EQ(app::RunProgram(run.bound, {"/list"}), 0);
  EXPECT_EQ(run.sim.streams.Out(), app::ListJson(app::ListedPrograms(run.bound, false)));
  EXPECT_EQ(app::RunProgram(run.bound, {"/list:csv", "/all", file}), 0);
  const std::string csv = app::ListCsv(app::ListedPrograms(run.bound, true));
  const auto& files = run.sim.file_store.Files();
  ASSERT_EQ(files.size(), 1u) << "the temporary file has taken its place";
  EXPECT_EQ(files.at(file), std::vector<std::uint8_t>(csv.begin(), csv.end()));
  EXPECT_EQ(run.sim.streams.Error(), "");
}

TEST(ScriptList, WhatCannotBeWrittenEndsWithItsCodeAndOneLine) {
  const char* const kPrefix = "Tapwise Uninstaller: ";
  ListRun run;
  EXPECT_EQ(app::RunProgram(run.bound, {"/list", "C:\\Missing\\l.json"}), 9);
  EXPECT_EQ(run.sim.streams.Error(), std::string(kPrefix) +
                                         "cannot write the list to \"C:\\Missing\\l.json\": "
                                         "System error 3.\n");
  ListRun detached;
  detached.sim.streams.DetachOut();
  EXPECT_EQ(app::RunProgram(detached.bound, {"/list"}), 9);
  EXPECT_EQ(detached.sim.streams.Error(),
            std::string(kPrefix) +
                "there is no standard output to write the list to; name a file after /list.\n");
  EXPECT_TRUE(run.sim.file_store.Files().empty() && run.sim.windows.Boxes().empty());
}

}  // namespace
