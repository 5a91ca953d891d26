// The registry scan: which entries become program-list and recent-list lines.

#include <gtest/gtest.h>

#include <cstdio>

#include "app/catalogue/catalogue_reading.h"
#include "app/entry/uninstall_command.h"
#include "app/harness.h"

namespace {

using testing_support::Entry;
using testing_support::Forms;
using testing_support::kLm32;

struct File {
  std::string path;
  enum { kFile, kDirectory, kUnconvertible } kind = kFile;
  platform::Date date{2021, 3, 4};
};

struct ScanCase {
  std::string label;
  std::vector<std::string> values;  // of one subkey "X" in the 32-bit HKLM view
  std::vector<File> files;
  std::vector<std::string> program_lines;
  std::vector<std::string> recent_lines;
  bool hide_microsoft = true;
  bool show_noremove = false;
  // The rows about other rules list entries Windows' list would hide, such as those with no
  // command; the rows about Windows' list turn this off.
  bool show_system_components = true;
  friend void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.label; }
};

class ScanTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanTest, ListsWhatTheEntryYields) {
  const ScanCase& c = GetParam();
  Forms forms(Entry(kLm32 + "X", c.values));
  for (const File& f : c.files) {
    if (f.kind == File::kFile) forms.sim.files.AddFile(f.path, f.date);
    if (f.kind == File::kDirectory) forms.sim.files.AddDirectory(f.path);
    if (f.kind == File::kUnconvertible) forms.sim.files.AddUnconvertibleFile(f.path);
  }
  forms.state.options.hide_microsoft = c.hide_microsoft;
  forms.state.options.show_no_remove = c.show_noremove;
  forms.state.options.show_system_components = c.show_system_components;

  forms.ScanUninstallKey({app::RegistryView::kDefault, app::UninstallRoot::kMachine});

  EXPECT_EQ(forms.ProgramLines(), c.program_lines);
  EXPECT_EQ(forms.RecentLines(), c.recent_lines);
  EXPECT_EQ(forms.sim.registry.OpenHandleCount(), 0u);
}

const File kUnins{"C:\\PROGRAM FILES\\FOO\\UNINS000.EXE"};
const File kIcon{"C:\\Foo\\foo.exe", File::kFile, {2019, 12, 31}};

INSTANTIATE_TEST_SUITE_P(
    Entries, ScanTest,
    ::testing::Values(
        ScanCase{"NameOnly", {R"("DisplayName"="Foo")"}, {}, {"Foo<#>"}, {}},
        ScanCase{"NoDisplayName",
                 {R"("UninstallString"="x.exe")", R"("InstallDate"="20200101")"},
                 {},
                 {},
                 {}},
        ScanCase{"UninstallStringWins",
                 {R"("DisplayName"="Foo")", R"("UninstallString"="a.exe")",
                  R"("QuietUninstallString"="b.exe /S")"},
                 {},
                 {"Foo<#>a.exe"},
                 {}},
        ScanCase{"QuietWhenNoUninstallString",
                 {R"("DisplayName"="Foo")", R"("QuietUninstallString"="b.exe /S")"},
                 {},
                 {"Foo<#>b.exe /S"},
                 {}},
        ScanCase{"KeptAsRead",
                 {R"("DisplayName"=" Foo ")", R"("UninstallString"="\"C:\\a b\\u.exe\" /x")"},
                 {},
                 {" Foo <#>\"C:\\a b\\u.exe\" /x"},
                 {}},
        ScanCase{
            "NoRemoveHides", {R"("DisplayName"="Foo")", "\"NoRemove\"=dword:00000001"}, {}, {}, {}},
        ScanCase{"NoRemoveZeroShows",
                 {R"("DisplayName"="Foo")", "\"NoRemove\"=dword:00000000"},
                 {},
                 {"Foo<#>"},
                 {}},
        ScanCase{"NoRemoveShownOnRequest",
                 {R"("DisplayName"="Foo")", "\"NoRemove\"=dword:00000001"},
                 {},
                 {"Foo<#>"},
                 {},
                 true,
                 true},
        // Shown or not, the flag is read: one that cannot be read leaves its entry out.
        ScanCase{"NoRemoveUnreadableWhenShown",
                 {R"("DisplayName"="Foo")", R"("NoRemove"="1")"},
                 {},
                 {},
                 {},
                 true,
                 true},
        ScanCase{"MicrosoftHidden", {R"("DisplayName"="Microsoft Silverlight")"}, {}, {}, {}},
        ScanCase{"WindowsAnywhereHidden", {R"("DisplayName"="My Windowsill Tool")"}, {}, {}, {}},
        ScanCase{
            "WindowsAnyCaseHidden", {R"("DisplayName"="Windows Driver Package - X")"}, {}, {}, {}},
        ScanCase{"MsnShown", {R"("DisplayName"="MSN Toolbar")"}, {}, {"MSN Toolbar<#>"}, {}},
        ScanCase{"MicrosoftShownOnRequest",
                 {R"("DisplayName"="Microsoft Office")"},
                 {},
                 {"Microsoft Office<#>"},
                 {},
                 false},
        ScanCase{"EightCharacterDate",
                 {R"("DisplayName"="Foo")", R"("InstallDate"="20200131")"},
                 {},
                 {"Foo<#>"},
                 {"20200131 Foo"}},
        // Eight characters that are not all digits are no date, and no file stands in.
        ScanCase{"SlashedDateIsNoDate",
                 {R"("DisplayName"="Foo")", R"("InstallDate"="5/1/2023")",
                  R"("DisplayIcon"="C:\\Foo\\foo.exe")"},
                 {kIcon},
                 {"Foo<#>"},
                 {}},
        ScanCase{"DottedDateIsNoDate",
                 {R"("DisplayName"="Foo")", R"("InstallDate"="01.05.23")"},
                 {},
                 {"Foo<#>"},
                 {}},
        ScanCase{"LettersAreNoDate",
                 {R"("DisplayName"="Foo")", R"("InstallDate"="abcdefgh")"},
                 {},
                 {"Foo<#>"},
                 {}},
        ScanCase{"SevenCharactersNoFallback",
                 {R"("DisplayName"="Foo")", R"("InstallDate"="2020013")",
                  R"("UninstallString"="C:\\Foo\\foo.exe")"},
                 {kIcon},
                 {"Foo<#>C:\\Foo\\foo.exe"},
                 {}},
        ScanCase{"QuotedCommandFile",
                 {R"("DisplayName"="Foo")",
                  R"("UninstallString"="\"C:\\Program Files\\Foo\\unins000.exe\" /SILENT")"},
                 {kUnins},
                 {"Foo<#>\"C:\\Program Files\\Foo\\unins000.exe\" /SILENT"},
                 {"20210304 Foo"}},
        ScanCase{"MsiExecUsesIcon",
                 {R"("DisplayName"="Foo")", R"("UninstallString"="MsiExec.exe /X{1}")",
                  R"("DisplayIcon"="C:\\Foo\\foo.exe,0")"},
                 {{"MSIEXEC.EXE"}, kIcon},
                 {"Foo<#>MsiExec.exe /X{1}"},
                 {"20191231 Foo"}},
        ScanCase{"RunDll32UsesIcon",
                 {R"("DisplayName"="Foo")", R"("UninstallString"="RunDll32.exe foo.dll,Remove")",
                  R"("DisplayIcon"="C:\\Foo\\foo.exe,0")"},
                 {{"RUNDLL32.EXE"}, kIcon},
                 {"Foo<#>RunDll32.exe foo.dll,Remove"},
                 {"20191231 Foo"}},
        // Changed: cmd is one of the system's runners, whose file is no program's own.
        ScanCase{"CmdUsesIcon",
                 {R"("DisplayName"="Foo")", R"("UninstallString"="cmd.exe /c C:\\Foo\\u.bat")",
                  R"("DisplayIcon"="C:\\Foo\\foo.exe,0")"},
                 {{"CMD.EXE"}, kIcon},
                 {"Foo<#>cmd.exe /c C:\\Foo\\u.bat"},
                 {"20191231 Foo"}},
        ScanCase{"NoCommandUsesIcon",
                 {R"("DisplayName"="Foo")", R"("DisplayIcon"="C:\\Foo\\foo.exe")"},
                 {kIcon},
                 {"Foo<#>"},
                 {"20191231 Foo"}},
        ScanCase{"QuotedIconNamesNoFile",
                 {R"("DisplayName"="Foo")", R"("DisplayIcon"="\"C:\\Foo\\foo.exe\",0")"},
                 {kIcon},
                 {"Foo<#>"},
                 {}},
        // A wildcard would date the entry by whichever file matches it first.
        ScanCase{"WildcardCommandNamesNoFile",
                 {R"("DisplayName"="Foo")", R"("UninstallString"="C:\\Apps\\unins*.exe")",
                  R"("DisplayIcon"="C:\\Foo\\foo.exe")"},
                 {{"C:\\APPS\\UNINS000.EXE"}, kIcon},
                 {"Foo<#>C:\\Apps\\unins*.exe"},
                 {"20191231 Foo"}},
        ScanCase{"WildcardIconNamesNoFile",
                 {R"("DisplayName"="Foo")", R"("DisplayIcon"="C:\\Foo\\f?o.exe,0")"},
                 {kIcon},
                 {"Foo<#>"},
                 {}},
        ScanCase{"DirectoryIsNoFile",
                 {R"("DisplayName"="Foo")", R"("UninstallString"="C:\\Dir.exe")"},
                 {{"C:\\DIR.EXE", File::kDirectory}},
                 {"Foo<#>C:\\Dir.exe"},
                 {}},
        ScanCase{"UnconvertibleDateFallsToIcon",
                 {R"("DisplayName"="Foo")", R"("UninstallString"="C:\\Old.exe")",
                  R"("DisplayIcon"="C:\\Foo\\foo.exe")"},
                 {{"C:\\OLD.EXE", File::kUnconvertible}, kIcon},
                 {"Foo<#>C:\\Old.exe"},
                 {"20191231 Foo"}}),
    [](const auto& info) { return info.param.label; });

TEST(ScanGuard, AnUnreadableEntryCostsOnlyItself) {
  // "NoRemove" as text cannot be read as a flag; a date stored as a number cannot be read as
  // text. Each loses what it had not yet appended; the entries after them are still read.
  Forms forms(Entry(kLm32 + "A", {R"("DisplayName"="Alpha")"}) +
              Entry(kLm32 + "B", {R"("DisplayName"="Beta")", R"("NoRemove"="1")"}) +
              Entry(kLm32 + "C", {R"("DisplayName"="Gamma")", "\"InstallDate\"=dword:01345678"}) +
              Entry(kLm32 + "D", {R"("DisplayName"="Delta")", R"("InstallDate"="20200101")"}));
  forms.state.options.show_system_components = true;  // entries without commands
  forms.ScanUninstallKey({app::RegistryView::kDefault, app::UninstallRoot::kMachine});
  EXPECT_EQ(forms.ProgramLines(), (std::vector<std::string>{"Alpha<#>", "Gamma<#>", "Delta<#>"}));
  EXPECT_EQ(forms.RecentLines(), (std::vector<std::string>{"20200101 Delta"}));
  EXPECT_EQ(forms.sim.registry.OpenHandleCount(), 0u);
}

// A pass read in ranges, one job each, gives what reading it from its first subkey to its last
// gives: the same lines in the same order, wherever the ranges cut, an unreadable entry costing
// itself alone.
struct RangeCase {
  std::string label;
  int entries;
  std::size_t jobs;
  friend void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.label; }
};

class ScanRangesTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(ScanRangesTest, ReadsAsInOneGo) {
  const RangeCase& c = GetParam();
  std::string reg;
  std::vector<std::string> programs, recent;
  for (int i = 0; i < c.entries; ++i) {
    char key[16], date[24];
    std::snprintf(key, sizeof key, "K%04d", i);  // enumerated in this order
    std::snprintf(date, sizeof date, "2020%04d", 101 + i % 1200);
    const std::string name = "App " + std::to_string(i);
    std::vector<std::string> values{"\"DisplayName\"=\"" + name + "\""};
    if (i % 5 == 4) values.clear();
    if (i % 7 == 3) values.push_back(R"("NoRemove"="1")");  // unreadable as a flag
    if (i % 3 == 0) values.push_back("\"InstallDate\"=\"" + std::string(date) + "\"");
    reg += Entry(kLm32 + key, values);
    if (i % 5 == 4 || i % 7 == 3) continue;
    programs.push_back(name + "<#>");
    if (i % 3 == 0) recent.push_back(std::string(date) + " " + name);
  }
  Forms forms(reg);
  forms.state.options.show_system_components = true;  // entries without commands
  std::size_t jobs = 0;
  forms.sim.workers.WatchStarts([&jobs] { ++jobs; });

  app::CatalogueReading read(forms.application.Jobs(), forms.bound,
                             std::make_shared<app::RemoteDrives>(forms.sim.files),
                             forms.state.options);
  const app::Catalogue found = read.Take();

  EXPECT_EQ(Forms::Texts(found.programs), programs);
  EXPECT_EQ(Forms::Texts(found.dated), recent);
  EXPECT_EQ(jobs, c.jobs);
  EXPECT_EQ(forms.sim.registry.OpenHandleCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, ScanRangesTest,
    ::testing::Values(RangeCase{"EmptyKeyNeedsNoJob", 0, 0}, RangeCase{"OneEntry", 1, 1},
                      RangeCase{"TooFewForTwoRanges", 63, 1}, RangeCase{"TwoRanges", 64, 2},
                      RangeCase{"RangesOfAtLeast32", 100, 3}, RangeCase{"UnevenCuts", 250, 7},
                      RangeCase{"Capped", 1000, 8}),
    [](const auto& info) { return info.param.label; });

// The rebuild reads every pass in one go: each pass's ranges are jobs side by side.
TEST(ScanRanges, TheRebuildRunsEveryPassAtOnce) {
  using testing_support::kCu;
  using testing_support::kLm64;
  std::string reg;
  for (int i = 0; i < 100; ++i) {
    const std::string n = std::to_string(i);
    reg += Entry(kLm32 + "A" + n, {R"("DisplayName"="Thirty-two")"});
    reg += Entry(kLm64 + "B" + n, {R"("DisplayName"="Sixty-four")"});
  }
  reg += Entry(kCu + "C", {R"("DisplayName"="User")"});
  Forms forms(reg);
  forms.state.options.show_system_components = true;  // entries without commands

  std::size_t jobs = 0;
  forms.sim.workers.WatchStarts([&jobs] { ++jobs; });
  forms.main_form->RebuildProgramMenus();

  // Three ranges of at least 32 entries for each machine view, one for the user's key.
  EXPECT_EQ(jobs, 7u);
  EXPECT_EQ(forms.AllPrograms().Count(), 201u);
}

TEST(ScanViews, EachPassReadsItsRootAndView) {
  using testing_support::kCu;
  using testing_support::kLm64;
  Forms forms(Entry(kLm32 + "A", {R"("DisplayName"="Thirty-two")"}) +
              Entry(kLm64 + "B", {R"("DisplayName"="Sixty-four")"}) +
              Entry(kCu + "C", {R"("DisplayName"="User")"}));
  forms.state.options.show_system_components = true;  // entries without commands
  using app::RegistryView;
  using app::UninstallRoot;
  const struct {
    app::ScanPass pass;
    std::vector<std::string> lines;
  } passes[] = {
      {{RegistryView::kDefault, UninstallRoot::kMachine}, {"Thirty-two<#>"}},
      {{RegistryView::k64Bit, UninstallRoot::kMachine}, {"Sixty-four<#>"}},
      // The user's key is the same in both views.
      {{RegistryView::kDefault, UninstallRoot::kUser}, {"User<#>"}},
      {{RegistryView::k64Bit, UninstallRoot::kUser}, {"User<#>"}},
  };
  for (const auto& pass : passes) {
    forms.scanned = {};
    forms.ScanUninstallKey(pass.pass);
    EXPECT_EQ(forms.ProgramLines(), pass.lines)
        << static_cast<int>(pass.pass.view) << static_cast<int>(pass.pass.root);
  }
}

TEST(ScanViews, MissingUninstallKeyAddsNothing) {
  Forms forms;
  forms.ScanUninstallKey({app::RegistryView::k64Bit, app::UninstallRoot::kUser});
  EXPECT_TRUE(forms.ProgramLines().empty());
}

}  // namespace

namespace {

// Windows' list: what it hides by default, and what "Show system components and updates" lists.
struct WindowsListCase {
  std::string label;
  std::string key;
  std::vector<std::string> values;
  std::vector<std::string> by_default;
  std::vector<std::string> with_everything;
  friend void PrintTo(const WindowsListCase& c, std::ostream* os) { *os << c.label; }
};

class WindowsListTest : public ::testing::TestWithParam<WindowsListCase> {};

TEST_P(WindowsListTest, HidesWhatWindowsHidesUnlessAskedToShowIt) {
  const WindowsListCase& c = GetParam();
  for (const bool everything : {false, true}) {
    Forms forms(Entry(kLm32 + c.key, c.values));
    forms.state.options.show_system_components = everything;
    forms.ScanUninstallKey({app::RegistryView::kDefault, app::UninstallRoot::kMachine});
    EXPECT_EQ(forms.ProgramLines(), everything ? c.with_everything : c.by_default) << everything;
  }
}

const std::string kCommand = R"("UninstallString"="u.exe")";
const std::string kName = R"("DisplayName"="Foo")";
const std::string kCode = "{12345678-9ABC-DEF0-1234-56789abcdef0}";
const std::vector<std::string> kListed{"Foo<#>u.exe"};
const std::vector<std::string> kNone{};

WindowsListCase Hidden(std::string label, std::string value) {
  return {std::move(label), "X", {kName, kCommand, std::move(value)}, kNone, kListed};
}
WindowsListCase Listed(std::string label, std::string value) {
  return {std::move(label), "X", {kName, kCommand, std::move(value)}, kListed, kListed};
}

INSTANTIATE_TEST_SUITE_P(
    Rules, WindowsListTest,
    ::testing::Values(
        Listed("Plain", R"("Publisher"="Acme")"),
        WindowsListCase{
            "EmptyNameAlwaysHidden", "X", {R"("DisplayName"="")", kCommand}, kNone, kNone},
        Hidden("SystemComponent", "\"SystemComponent\"=dword:00000001"),
        Listed("SystemComponentZero", "\"SystemComponent\"=dword:00000000"),
        Listed("SystemComponentAsText", R"("SystemComponent"="1")"),
        Listed("SystemComponentAsQword", "\"SystemComponent\"=hex(b):01,00,00,00,00,00,00,00"),
        Listed("SystemComponentOfOneByte", "\"SystemComponent\"=hex(4):01"),
        Hidden("UpdateOfAParent", R"("ParentKeyName"="OfficeSuite")"),
        Listed("EmptyParent", R"("ParentKeyName"="")"),
        Listed("ParentAsNumber", "\"ParentKeyName\"=dword:00000001"),
        Hidden("Hotfix", R"("ReleaseType"="Hotfix")"),
        Hidden("SecurityUpdateAnyCase", R"("ReleaseType"="security update")"),
        Hidden("UpdateRollup", R"("ReleaseType"="Update Rollup")"),
        Hidden("Update", R"("ReleaseType"="UPDATE")"),
        Hidden("ServicePack", R"("ReleaseType"="Service Pack")"),
        Listed("OtherRelease", R"("ReleaseType"="Feature Pack")"),
        Listed("ReleaseTypeAsNumber", "\"ReleaseType\"=dword:00000001"),
        WindowsListCase{"NothingToRun", "X", {kName}, kNone, {"Foo<#>"}},
        WindowsListCase{"EmptyCommands",
                        "X",
                        {kName, R"("UninstallString"="")", R"("QuietUninstallString"="")"},
                        kNone,
                        {"Foo<#>"}},
        WindowsListCase{"QuietWhenTheCommandIsEmpty",
                        "X",
                        {kName, R"("UninstallString"="")", R"("QuietUninstallString"="q.exe /S")"},
                        {"Foo<#>q.exe /S"},
                        {"Foo<#>q.exe /S"}},
        WindowsListCase{"InstallerProductWithoutCommand",
                        kCode,
                        {kName, "\"WindowsInstaller\"=dword:00000001"},
                        {"Foo<#>"},
                        {"Foo<#>"}},
        WindowsListCase{"InstallerFlagOnAnotherKey",
                        "{1234}",
                        {kName, "\"WindowsInstaller\"=dword:00000001"},
                        kNone,
                        {"Foo<#>"}},
        WindowsListCase{
            "InstallerFlagAsText", kCode, {kName, R"("WindowsInstaller"="1")"}, kNone, {"Foo<#>"}},
        WindowsListCase{"InstallerFlagZero",
                        kCode,
                        {kName, "\"WindowsInstaller\"=dword:00000000"},
                        kNone,
                        {"Foo<#>"}},
        WindowsListCase{
            "Combined",
            "X",
            {kName, kCommand, "\"SystemComponent\"=dword:00000001", R"("ReleaseType"="Update")"},
            kNone,
            kListed}),
    [](const auto& info) { return info.param.label; });

using testing_support::kCu;
using testing_support::kLm64;

// Text as a .reg file spells it between quotes.
std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

// No file on another machine is looked up for a date: not by a server's or a device's path,
// not on a remote drive, and not relative to a current folder on one.
struct NetworkCase {
  std::string label;
  std::string command;
  std::string icon;
  bool current_folder_remote;
  std::vector<std::string> queries;
  friend void PrintTo(const NetworkCase& c, std::ostream* os) { *os << c.label; }
};

class NetworkTest : public ::testing::TestWithParam<NetworkCase> {};

TEST_P(NetworkTest, NoDateIsSoughtOnAnotherMachine) {
  const NetworkCase& c = GetParam();
  Forms forms(Entry(kLm32 + "X",
                    {R"("DisplayName"="Foo")", "\"UninstallString\"=\"" + Escaped(c.command) + "\"",
                     "\"DisplayIcon\"=\"" + Escaped(c.icon) + "\""}));
  forms.sim.files.SetDriveType("Z:\\", platform::DriveType::kRemote);
  if (c.current_folder_remote) forms.sim.files.SetDriveType("", platform::DriveType::kRemote);
  forms.ScanUninstallKey({app::RegistryView::kDefault, app::UninstallRoot::kMachine});
  EXPECT_EQ(forms.sim.files.Queries(), c.queries);
  EXPECT_EQ(forms.ProgramLines().size(), 1u) << "the entry is listed all the same";
}

INSTANTIATE_TEST_SUITE_P(
    Paths, NetworkTest,
    ::testing::Values(
        NetworkCase{
            "Server", "\\\\server\\share\\u.exe /S", "\\\\server\\share\\u.exe,0", false, {}},
        NetworkCase{
            "ServerWithForwardSlashes", "//server/share/u.exe", "//server/share/i.ico", false, {}},
        NetworkCase{"ServerBehindTheLongPathPrefix",
                    "\\\\?\\UNC\\server\\share\\u.exe",
                    "\\\\?\\UNC\\server\\i.ico",
                    false,
                    {}},
        NetworkCase{"Device", "\\\\.\\pipe\\u.exe", "\\/server\\i.ico", false, {}},
        NetworkCase{"RemoteDrive", "\"Z:\\App\\u.exe\" /S", "z:\\App\\i.ico", false, {}},
        // Names that Windows opens as a device, which may block: a serial port, say.
        NetworkCase{
            "DeviceNamesWithBlanks", "\"C:\\App\\COM1 .exe\" /S", "C:\\App\\nul.ico", false, {}},
        NetworkCase{
            "DeviceNamesWithAColon", "\"C:\\App\\LPT1:x.exe\"", "C:\\App\\COM\xC2\xB9", false, {}},
        NetworkCase{"LocalDriveStillDated",
                    "\"C:\\App\\u.exe\" /S",
                    "D:\\App\\i.ico",
                    false,
                    {"C:\\APP\\U.EXE", "D:\\App\\i.ico"}},
        // Changed: a device's name is never looked up, in whichever folder it stands.
        NetworkCase{"DeviceNames", "C:\\App\\nul.exe /S", "D:\\App\\COM1.ico", false, {}},
        NetworkCase{"RelativeOnARemoteCurrentFolder", "u.exe /S", "i.ico", true, {}},
        NetworkCase{
            "RelativeOnALocalCurrentFolder", "u.exe /S", "i.ico", false, {"U.EXE", "i.ico"}}),
    [](const auto& info) { return info.param.label; });

// Each entry knows the view it came from and its product code; a Windows Installer entry
// without a command of its own, blanks counting as none, is removed by that code; a
// "WindowsInstaller" value that is no number neither drops the entry nor makes it one.
TEST(ScanViews, EachEntryKnowsItsViewAndItsProductCode) {
  const std::string code = "{BDF63D8D-942F-4DC6-BF44-9EE03A7205F6}";
  const std::string lower = "{0123abcd-ef01-2345-6789-abcdef012345}";
  const std::string other = "{99999999-0000-0000-0000-000000000000}";
  const std::string installer = "\"WindowsInstaller\"=dword:00000001";
  Forms forms(
      Entry(kLm32 + code, {R"("DisplayName"="A Installer")", installer}) +
      Entry(kLm32 + lower, {R"("DisplayName"="B Not By Number")", R"("WindowsInstaller"="1")"}) +
      Entry(kLm32 + "{NotACode}", {R"("DisplayName"="C Not A Code")", installer}) +
      Entry(kLm64 + code, {R"("DisplayName"="D With A Command")", installer,
                           R"("UninstallString"="MsiExec.exe /I{1}")"}) +
      Entry(kLm64 + lower, {R"("DisplayName"="E Zero")", "\"WindowsInstaller\"=dword:00000000"}) +
      Entry(kCu + lower, {R"("DisplayName"="F User Installer")", installer}) +
      Entry(kCu + other,
            {R"("DisplayName"="G Blank Command")", installer, R"("UninstallString"="  ")"}));
  forms.state.options.show_system_components = true;  // entries that Windows' list would hide
  forms.main_form->RebuildProgramMenus();

  const std::string remove = "MsiExec.exe /X";
  const struct {
    std::string name;
    app::EntryView view;
    std::string product_code;
    std::string uninstall;
  } expected[] = {
      {"A Installer", app::EntryView::kMachineDefault, code, remove + code},
      {"B Not By Number", app::EntryView::kMachineDefault, lower, ""},
      {"C Not A Code", app::EntryView::kMachineDefault, "", ""},
      {"D With A Command", app::EntryView::kMachine64, code, "MsiExec.exe /I{1}"},
      {"E Zero", app::EntryView::kMachine64, lower, ""},
      {"F User Installer", app::EntryView::kUser, lower, remove + lower},
      {"G Blank Command", app::EntryView::kUser, other, remove + other},
  };
  const auto& lines = forms.main_form->CurrentCatalogue().programs;
  ASSERT_EQ(lines.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const app::ProgramEntry& entry = lines[i].program;
    EXPECT_EQ(entry.name, expected[i].name);
    EXPECT_EQ(entry.view, expected[i].view) << entry.name;
    EXPECT_EQ(entry.product_code, expected[i].product_code) << entry.name;
    EXPECT_EQ(app::UninstallCommand(entry), expected[i].uninstall) << entry.name;
  }
}

}  // namespace
