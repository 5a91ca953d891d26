// The list for scripts over the substitute registry: the menu's programs in the menu's order,
// each with what its entry says, written whole where it was asked for.

#include "app/script/script_list.h"

#include <gtest/gtest.h>

#include "app/harness.h"
#include "app/listing/list_csv.h"
#include "app/listing/list_json.h"
#include "platform/text.h"

namespace {

using testing_support::Entry;
using testing_support::Forms;
using testing_support::kCu;
using testing_support::kLm32;
using testing_support::kLm64;
using testing_support::kRegHeader;

constexpr platform::Date kFileDay{2021, 2, 3};
const std::string kCode = "{BDF63D8D-942F-4DC6-BF44-9EE03A7205F6}";

std::string Uninstaller(const std::string& path) {
  std::string escaped;
  for (const char c : path) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return "\"UninstallString\"=\"" + escaped + "\"";
}

// Three views, the names in no order; what Windows' list hides, a Microsoft name that the
// options leave out, an entry whose uninstaller is gone, and one removed quietly.
std::string Catalogue() {
  return Entry(kLm32 + "Zed",
               {"\"DisplayName\"=\"zed & co\"", Uninstaller("C:\\Zed\\u.exe"),
                "\"DisplayVersion\"=\"2.0\"", "\"Publisher\"=\"Zed Ltd\"",
                "\"EstimatedSize\"=dword:00001000", "\"InstallDate\"=\"20230501\""}) +
         Entry(kLm64 + "alpha", {"\"DisplayName\"=\"Alpha\"", Uninstaller("C:\\Alpha\\u.exe"),
                                 "\"QuietUninstallString\"=\"C:\\\\Alpha\\\\u.exe /S\"",
                                 "\"EstimatedSize\"=\"12\""}) +
         Entry(kCu + "Gone", {"\"DisplayName\"=\"Gone Tool\"", Uninstaller("C:\\Gone\\u.exe"),
                              "\"InstallDate\"=\"20231399\""}) +
         Entry(kLm32 + "Part", {"\"DisplayName\"=\"Beta Part\"", Uninstaller("C:\\Zed\\u.exe"),
                                "\"SystemComponent\"=dword:00000001"}) +
         Entry(kLm32 + "Ms",
               {"\"DisplayName\"=\"Microsoft Thing\"", Uninstaller("C:\\Zed\\u.exe")}) +
         Entry(kLm32 + "~Tapwise removing~ x",
               {"\"DisplayName\"=\"Not Set Aside\"", Uninstaller("C:\\Zed\\u.exe")}) +
         Entry(kCu + "~Tapwise removing~ Old", {"\"DisplayName\"=\"Set Aside\""});
}

struct ListRun {
  sim::SimPlatform sim;
  platform::Platform bound = sim.Bind();

  ListRun() {
    sim.registry.LoadRegText(std::string(kRegHeader) + Catalogue());
    sim.files.AddFile("C:\\Zed\\u.exe", kFileDay);
    sim.files.AddFile("C:\\Alpha\\u.exe", kFileDay);
  }
  int Run(const std::vector<std::string>& arguments) { return app::RunProgram(bound, arguments); }
};

std::vector<std::string> Names(const std::vector<app::ListedProgram>& programs) {
  std::vector<std::string> names;
  for (const auto& program : programs) names.push_back(text::EscapeAccessKeys(program.name));
  return names;
}

TEST(ScriptList, HoldsExactlyTheMenusProgramsInItsOrderAndTheHiddenOnesOnlyWithAll) {
  Forms forms(Catalogue());
  forms.main_form->RebuildProgramMenus();
  ListRun run;
  EXPECT_EQ(Names(app::ListedPrograms(run.bound, false)), Forms::Captions(forms.AllPrograms()));
  forms.state.options.show_system_components = true;
  forms.main_form->RebuildProgramMenus();
  const std::vector<std::string> all = Names(app::ListedPrograms(run.bound, true));
  EXPECT_EQ(all, Forms::Captions(forms.AllPrograms()));
  EXPECT_EQ(all, (std::vector<std::string>{"Alpha", "Beta Part", "Gone Tool", "Not Set Aside",
                                           "zed && co"}));
  EXPECT_TRUE(run.sim.windows.Popups().empty());
}

TEST(ScriptList, EachProgramWithWhatItsEntrySays) {
  ListRun run;
  const std::vector<app::ListedProgram> listed = app::ListedPrograms(run.bound, false);
  ASSERT_EQ(listed.size(), 4u);
  const app::ListedProgram& alpha = listed[0];
  EXPECT_EQ(alpha.id, "HKLM64/alpha");
  EXPECT_EQ(alpha.view, app::EntryView::kMachine64);
  EXPECT_FALSE(alpha.version);
  EXPECT_FALSE(alpha.size_kb) << "a size that is no DWORD is none";
  ASSERT_TRUE(alpha.installed);
  EXPECT_EQ(alpha.installed->source, app::DateSource::kFileDate);
  EXPECT_EQ(app::DayText(*alpha.installed), "2021-02-03");
  EXPECT_TRUE(alpha.quiet);
  EXPECT_FALSE(alpha.orphaned);

  const app::ListedProgram& gone = listed[1];
  EXPECT_EQ(gone.id, "HKCU/Gone");
  EXPECT_FALSE(gone.installed) << "20231399 sorts among the recent, but is no day";
  EXPECT_FALSE(gone.quiet);
  EXPECT_TRUE(gone.orphaned);

  EXPECT_EQ(listed[2].id, "HKLM32/~Tapwise%20removing~%20x") << "set aside only in the user's key";
  const app::ListedProgram& zed = listed[3];
  EXPECT_EQ(zed.id, "HKLM32/Zed");
  EXPECT_EQ(zed.version, "2.0");
  EXPECT_EQ(zed.publisher, "Zed Ltd");
  EXPECT_EQ(zed.size_kb, 4096u);
  ASSERT_TRUE(zed.installed);
  EXPECT_EQ(zed.installed->source, app::DateSource::kInstallDateValue);
  EXPECT_FALSE(zed.quiet);
}

TEST(ScriptList, GoesToStandardOutputOrReplacesTheFileWhole) {
  const std::string folder = "C:\\Lists";
  const std::string file = folder + "\\programs.csv";
  ListRun run;
  run.sim.file_store.CreateFolders(folder);
  run.sim.file_store.WriteNewFile(file, {'o', 'l', 'd'});
  EXPECT_EQ(run.Run({"/list"}), 0);
  EXPECT_EQ(run.sim.streams.Out(), app::ListJson(app::ListedPrograms(run.bound, false)));
  EXPECT_EQ(run.Run({"/list:csv", "/all", file}), 0);
  const std::string csv = app::ListCsv(app::ListedPrograms(run.bound, true));
  const auto& files = run.sim.file_store.Files();
  ASSERT_EQ(files.size(), 1u) << "the temporary file has taken its place";
  EXPECT_EQ(files.at(file), std::vector<std::uint8_t>(csv.begin(), csv.end()));
  EXPECT_EQ(run.sim.streams.Error(), "");
}

TEST(ScriptList, WhatCannotBeWrittenEndsWithItsCodeAndOneLine) {
  const struct {
    const char* label;
    bool attached;
    std::string file;
    std::string error;
  } cases[] = {
      {"no standard output", false, "",
       "Tapwise Uninstaller: there is no standard output to write the list to; name a file after "
       "/list.\n"},
      {"no such folder", true, "C:\\Missing\\l.json",
       "Tapwise Uninstaller: cannot write the list to \"C:\\Missing\\l.json\": System error 3.\n"},
  };
  for (const auto& c : cases) {
    ListRun run;
    std::vector<std::string> arguments{"/list"};
    if (!c.file.empty()) arguments.push_back(c.file);
    if (!c.attached) run.sim.streams.DetachOut();
    EXPECT_EQ(run.Run(arguments), 9) << c.label;
    EXPECT_EQ(run.sim.streams.Error(), c.error) << c.label;
    EXPECT_TRUE(run.sim.file_store.Files().empty()) << c.label;
    EXPECT_TRUE(run.sim.windows.Boxes().empty()) << c.label;
  }
}

}  // namespace
