// Which registry values the scan reads: under Wine every read is a round trip to the registry's
// server, so a value that no rule needs for the list is not read at the start. What the list
// leaves unread is read where it is needed: the icon on its job, the quiet command when chosen.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/harness.h"
#include "app/icons/icon_finder.h"
#include "platform/sim/sim_read_log.h"

namespace {

using testing_support::Entry;
using testing_support::kCu;
using testing_support::kLm32;
using testing_support::kLm64;

const std::string kCode = "{12345678-9ABC-DEF0-1234-56789ABCDEF0}";
const std::string kName = R"("DisplayName"="Foo")";
const std::string kCommand = R"("UninstallString"="C:\\A\\u.exe")";
const std::string kDated = R"("InstallDate"="20200101")";
const std::string kIcon = R"("DisplayIcon"="C:\\Foo\\foo.exe,0")";
const std::string kQuiet = R"("QuietUninstallString"="C:\\A\\u.exe /S")";
const std::string kInstaller = "\"WindowsInstaller\"=dword:00000001";
const std::string kComponent = "\"SystemComponent\"=dword:00000001";
const std::string kParent = R"("ParentKeyName"="Suite")";
const std::string kUpdate = R"("ReleaseType"="Hotfix")";
const std::string kNoRemove = "\"NoRemove\"=dword:00000001";

constexpr platform::Date kSomeDate{2021, 3, 4};

// The uninstall keys' entries read with the run's default options, unless a row says otherwise.
struct ScanRun {
  explicit ScanRun(const std::string& reg) {
    sim.registry.LoadRegText(std::string(testing_support::kRegHeader) + reg);
  }
  std::vector<app::ScannedProgram> Scan(const app::Options& options) {
    return app::ScanPasses(app::ScanSeams(log, sim.files, drives), app::UninstallPasses(log),
                           options);
  }
  sim::SimPlatform sim;
  sim::ReadLog log{sim.registry};
  app::RemoteDrives drives{sim.files};
};

struct ReadsCase {
  std::string label;
  std::string key;  // under the 32-bit view's uninstall key
  std::vector<std::string> values;
  std::vector<std::string> unread;  // values the entry holds that the scan must not read
  bool listed = true;
  bool icon_read = false;  // its date needed "DisplayIcon"
  bool dated_uninstaller = false;
  bool show_system_components = false;
  friend void PrintTo(const ReadsCase& c, std::ostream* os) { *os << c.label; }
};

class ScanReadsTest : public ::testing::TestWithParam<ReadsCase> {};

TEST_P(ScanReadsTest, ReadsOnlyWhatTheListNeedsEachValueOnce) {
  const ReadsCase& c = GetParam();
  ScanRun run(Entry(kLm32 + c.key, c.values));
  if (c.dated_uninstaller) run.sim.files.AddFile("C:\\A\\U.EXE", kSomeDate);
  app::Options options;
  options.show_system_components = c.show_system_components;

  const std::vector<app::ScannedProgram> found = run.Scan(options);

  ASSERT_EQ(found.size(), c.listed ? 1u : 0u);
  const std::vector<std::string> reads = run.log.ReadsOf(c.key);
  for (const std::string& value : c.unread) {
    EXPECT_EQ(std::count(reads.begin(), reads.end(), value), 0) << value;
  }
  EXPECT_EQ(std::set<std::string>(reads.begin(), reads.end()).size(), reads.size())
      << "a value read twice";
  if (c.listed) {
    EXPECT_EQ(found[0].program.display_icon.has_value(), c.icon_read);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ScanReadsTest,
    ::testing::Values(
        ReadsCase{"Dated",
                  "X",
                  {kName, kCommand, kDated, kIcon, kQuiet, kInstaller},
                  {"DisplayIcon", "QuietUninstallString", "WindowsInstaller"}},
        ReadsCase{.label = "DatedByItsUninstaller",
                  .key = "X",
                  .values = {kName, kCommand, kIcon, kQuiet},
                  .unread = {"DisplayIcon", "QuietUninstallString"},
                  .dated_uninstaller = true},
        // The icon read for the date is kept for the icon.
        ReadsCase{.label = "UninstallerWithoutADate",
                  .key = "X",
                  .values = {kName, kCommand, kIcon, kQuiet, kInstaller},
                  .unread = {"QuietUninstallString", "WindowsInstaller"},
                  .icon_read = true},
        ReadsCase{.label = "NoCommand",
                  .key = "X",
                  .values = {kName, kDated, kIcon, kInstaller},
                  .unread = {"WindowsInstaller", "InstallDate", "DisplayIcon"},
                  .listed = false},
        ReadsCase{"InstallerProductWithoutCommand",
                  kCode,
                  {kName, kInstaller, kDated, kIcon},
                  {"DisplayIcon"}},
        ReadsCase{"InstallerProductWithCommand",
                  kCode,
                  {kName, "\"UninstallString\"=\"MsiExec.exe /X" + kCode + "\"", kInstaller, kDated,
                   kIcon, kQuiet},
                  {"WindowsInstaller", "QuietUninstallString", "DisplayIcon"}},
        ReadsCase{
            "HiddenBySystemComponent",
            "X",
            {kName, kCommand, kComponent, kParent, kUpdate, kDated, kIcon, kQuiet, kInstaller},
            {"ParentKeyName", "ReleaseType", "UninstallString", "QuietUninstallString",
             "WindowsInstaller", "InstallDate", "DisplayIcon"},
            false},
        ReadsCase{"HiddenByParentKeyName",
                  "X",
                  {kName, kCommand, kParent, kUpdate, kDated, kIcon},
                  {"ReleaseType", "UninstallString", "InstallDate", "DisplayIcon"},
                  false},
        ReadsCase{"HiddenByReleaseType",
                  "X",
                  {kName, kCommand, kUpdate, kDated, kIcon, kQuiet},
                  {"UninstallString", "QuietUninstallString", "InstallDate", "DisplayIcon"},
                  false},
        ReadsCase{"HiddenByNoRemove",
                  "X",
                  {kName, kNoRemove, kCommand, kComponent, kDated, kIcon},
                  {"SystemComponent", "UninstallString", "InstallDate", "DisplayIcon"},
                  false},
        ReadsCase{"HiddenAsMicrosoft",
                  "X",
                  {R"("DisplayName"="Microsoft Foo")", kCommand, kComponent, kDated, kIcon},
                  {"SystemComponent", "UninstallString", "InstallDate", "DisplayIcon"},
                  false},
        ReadsCase{"NoDisplayName",
                  "X",
                  {kNoRemove, kCommand, kComponent, kDated, kIcon},
                  {"NoRemove", "SystemComponent", "UninstallString", "InstallDate", "DisplayIcon"},
                  false},
        // With everything shown, Windows' rules are not asked at all.
        ReadsCase{.label = "SystemComponentsShown",
                  .key = "X",
                  .values = {kName, kCommand, kComponent, kParent, kUpdate, kDated, kInstaller},
                  .unread = {"SystemComponent", "ParentKeyName", "ReleaseType", "WindowsInstaller"},
                  .show_system_components = true}),
    [](const auto& info) { return info.param.label; });

// The icon's job reads "DisplayIcon" from the entry's key, in the view the entry was listed
// from, when the scan did not; a key gone meanwhile leaves the icon to the other sources.
TEST(ScanReads, TheIconJobReadsTheIconValueFromTheEntrysOwnKey) {
  const auto listed = [](const std::string& key, const std::string& icon) {
    return Entry(key, {kName, kCommand, kDated, R"("DisplayIcon"=")" + icon + R"(,0")"});
  };
  ScanRun run(listed(kLm32 + "X", R"(C:\\Icons\\thirty-two.exe)") +
              listed(kLm64 + "X", R"(C:\\Icons\\sixty-four.exe)") +
              listed(kCu + "X", R"(C:\\Icons\\user.exe)") +
              listed(kCu + "Gone", R"(C:\\Icons\\gone.exe)"));
  for (const char* file : {"thirty-two", "sixty-four", "user", "gone"}) {
    run.sim.icons.AddProgram("C:\\Icons\\" + std::string(file) + ".exe", 1);
  }
  const std::vector<app::ScannedProgram> found = run.Scan(app::Options{});
  ASSERT_EQ(found.size(), 4u);
  run.sim.registry.DeletePhysicalKey(platform::kHkeyCurrentUser,
                                     kCu.substr(kCu.find('\\') + 1) + "Gone");

  const app::IconSeams seams{
      run.sim.icons, run.log, run.sim.processes,
      app::PathSystem{run.sim.launcher, run.sim.files, run.log.HasSeparate64BitView()}, run.drives};
  app::ReadIconFiles read;
  std::vector<std::string> icons;
  for (const app::ScannedProgram& scanned : found) {
    EXPECT_FALSE(scanned.program.display_icon.has_value()) << scanned.program.key_name;
    icons.push_back(app::FindProgramIconFile(seams, read, scanned.program, 16).file_key);
  }
  // In pass order, then subkey order: the user's "Gone" before its "X".
  EXPECT_EQ(icons, (std::vector<std::string>{"C:\\ICONS\\THIRTY-TWO.EXE,0@16",
                                             "C:\\ICONS\\SIXTY-FOUR.EXE,0@16", "generic@16",
                                             "C:\\ICONS\\USER.EXE,0@16"}));
  EXPECT_EQ(run.sim.registry.OpenHandleCount(), 0u);
}

}  // namespace
