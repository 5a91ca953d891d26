// Where icons come from: the rules as tables, over the substitute system's files.

#include "app/icons/icon_source.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/entry/windows_installer.h"
#include "platform/sim/sim_platform.h"

namespace {

using app::EntryView;
using app::IconCandidate;
using app::IconLocation;

TEST(IconSource, ParsesPathAndIndexAtTheLastCommaBeforeAnInteger) {
  const struct {
    const char* value;
    IconLocation expected;
  } rows[] = {
      {R"(C:\App\app.exe)", {R"(C:\App\app.exe)", 0}},
      {R"(C:\App\app.exe,3)", {R"(C:\App\app.exe)", 3}},
      {R"(C:\App\app.exe,-101)", {R"(C:\App\app.exe)", -101}},
      {R"("C:\Program Files\App\app.exe",2)", {R"(C:\Program Files\App\app.exe)", 2}},
      {R"("C:\Program Files\App\app.exe")", {R"(C:\Program Files\App\app.exe)", 0}},
      {R"(C:\A,B\app.exe)", {R"(C:\A,B\app.exe)", 0}},
      {R"(C:\A,1\app.exe,4)", {R"(C:\A,1\app.exe)", 4}},
      {R"(C:\A\app.exe, 5 )", {R"(C:\A\app.exe)", 5}},
      {R"(C:\A\app.exe,x)", {R"(C:\A\app.exe,x)", 0}},
      {R"(C:\A\app.exe,99999999999999)", {R"(C:\A\app.exe,99999999999999)", 0}},
      {R"(C:\A\app.exe,2147483647)", {R"(C:\A\app.exe)", 2147483647}},
      {"", {"", 0}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(app::ParseIconLocation(row.value), row.expected) << row.value;
  }
}

TEST(IconSource, PacksProductCodesAsWindowsInstallerDoes) {
  const struct {
    const char* code;
    const char* packed;
  } rows[] = {
      {"{12345678-ABCD-EF01-2345-6789ABCDEF01}", "87654321DCBA10FE32547698BADCFE10"},
      {"{9a3ce4d6-2b5e-4e0b-8b4f-6c5d7e2a1f11}", "6D4EC3A9E5B2B0E4B8F4C6D5E7A2F111"},
      {"{12345678-ABCD-EF01-2345-6789ABCDEF0}", ""},
      {"12345678-ABCD-EF01-2345-6789ABCDEF01", ""},
      {"{12345678ABCD-EF01-2345-6789ABCDEF01-}", ""},
      {"{1234567G-ABCD-EF01-2345-6789ABCDEF01}", ""},
      {"Git_is1", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(app::PackedProductCode(row.code), row.packed) << row.code;
}

// The substitute system, with the files the rows name.
struct System {
  explicit System(std::initializer_list<const char*> files) {
    for (const char* file : files) sim.files.AddFile(file, {2020, 1, 1});
    sim.files.SetDriveType("N:\\", platform::DriveType::kRemote);
  }
  app::EntryPaths In(EntryView view) {
    return app::EntryPaths(app::PathSystem{sim.launcher, sim.files, true}, view);
  }
  sim::SimPlatform sim;
  app::RemoteDrives drives{sim.files};
};

TEST(IconSource, TheCommandsProgramUnlessASystemRunner) {
  const struct {
    const char* command;
    std::optional<std::string> file;
  } rows[] = {
      {R"("C:\Program Files\Git\unins000.exe" /SILENT)", R"(C:\Program Files\Git\unins000.exe)"},
      {R"(C:\Program Files\7-Zip\Uninstall.exe /S)", R"(C:\Program Files\7-Zip\Uninstall.exe)"},
      {R"(C:\Tools\remove.EXE)", R"(C:\Tools\remove.EXE)"},
      // Changed: the program the launch starts, not the text before the first blank.
      {R"(C:\Tools\remove /quiet)", R"(C:\Tools\remove.exe)"},
      {R"(C:\Gone\remove.exe)", std::nullopt},
      {"MsiExec.exe /X{9A3CE4D6-2B5E-4E0B-8B4F-6C5D7E2A1F11}", std::nullopt},
      {R"(C:\Windows\System32\msiexec.exe /x {X})", std::nullopt},
      {R"(rundll32.exe C:\x.dll,Uninstall)", std::nullopt},
      {R"("C:\Windows\system32\RunDll32.EXE" x.dll)", std::nullopt},
      {"cmd /c del x", std::nullopt},
      {R"(cmd.exe /C "C:\x\u.exe")", std::nullopt},
      {"", std::nullopt},
      // There, but never looked at.
      {R"(\\server\share\u.exe /S)", std::nullopt},
      {R"(N:\Apps\u.exe)", std::nullopt},
      {R"(C:\Apps\nul.exe)", std::nullopt},
  };
  System system({R"(C:\Program Files\Git\unins000.exe)", R"(C:\Program Files\7-Zip\Uninstall.exe)",
                 R"(C:\Tools\remove.exe)", R"(C:\Windows\system32\msiexec.exe)",
                 R"(C:\Windows\system32\rundll32.exe)", R"(C:\Windows\system32\cmd.exe)",
                 R"(\\server\share\u.exe)", R"(N:\Apps\u.exe)", R"(C:\Apps\nul.exe)"});
  for (const auto& row : rows) {
    EXPECT_EQ(
        app::CommandIconFile(row.command, system.In(EntryView::kMachineDefault), system.drives),
        row.file)
        << row.command;
  }
  for (const std::string& checked : system.sim.files.Checked()) {
    EXPECT_EQ(checked.rfind("C:\\", 0), 0u) << checked;
  }
}

// Each source is tried in order until one gives an icon; the attempts are listed.
struct Found {
  std::vector<IconCandidate> tried;
  bool any = false;
};

Found Find(const app::ProgramEntry& program, const std::vector<std::string>& giving,
           const std::string& product_icon = {}) {
  System system(
      {R"(C:\A\u.exe)", R"(C:\Program Files\A\u.exe)", R"(C:\Windows\system32\msiexec.exe)"});
  Found found;
  const app::EntryPaths paths = system.In(program.view);
  const app::IconSystem icons{
      paths, system.drives,
      [&](const std::string& packed) {
        return packed == "87654321DCBA10FE32547698BADCFE10" ? product_icon : std::string();
      },
      [&](const IconCandidate& c) {
        found.tried.push_back(c);
        return std::find(giving.begin(), giving.end(), c.location.path) != giving.end();
      }};
  found.any = app::FindProgramIcon(program, icons);
  return found;
}

constexpr const char* kCode = "{12345678-ABCD-EF01-2345-6789ABCDEF01}";

app::ProgramEntry Program(std::string display_icon, std::string command,
                          std::string product_code = {},
                          EntryView view = EntryView::kMachineDefault) {
  app::ProgramEntry program;
  program.display_icon = std::move(display_icon);
  program.command = std::move(command);
  program.product_code = std::move(product_code);
  program.windows_installer = !program.product_code.empty();
  program.view = view;
  return program;
}

TEST(IconSource, SourcesAreTriedInOrderUntilOneGivesAnIcon) {
  const struct {
    const char* name;
    app::ProgramEntry program;
    std::vector<std::string> giving;
    std::string product_icon;
    std::vector<IconCandidate> tried;
    bool any;
  } rows[] = {
      {"display icon first",
       Program(R"(C:\A\a.exe,2)", R"(C:\A\u.exe)", kCode),
       {R"(C:\A\a.exe)"},
       R"(C:\Windows\Installer\p.ico)",
       {{{R"(C:\A\a.exe)", 2}, false}},
       true},
      {"an .ico display icon goes to the loader",
       Program(R"("C:\A\a.ico",0)", ""),
       {R"(C:\A\a.ico)"},
       "",
       {{{R"(C:\A\a.ico)", 0}, true}},
       true},
      {"then the product icon",
       Program(R"(C:\A\gone.exe)", "MsiExec.exe /X{12345678-ABCD-EF01-2345-6789ABCDEF01}", kCode),
       {R"(C:\Windows\Installer\p.ico)"},
       R"(C:\Windows\Installer\p.ico)",
       {{{R"(C:\A\gone.exe)", 0}, false}, {{R"(C:\Windows\Installer\p.ico)", 0}, true}},
       true},
      {"then the command's program",
       Program("", R"("C:\A\u.exe" /S)"),
       {R"(C:\A\u.exe)"},
       "",
       {{{R"(C:\A\u.exe)", 0}, false}},
       true},
      {"a 64-bit entry's command through its own folders",
       Program("", R"(%ProgramFiles%\A\u.exe)", "", EntryView::kMachine64),
       {},
       "",
       {{{R"(C:\Program Files\A\u.exe)", 0}, false}},
       false},
      {"msiexec's icon is never the program's", Program("", "", kCode), {}, "", {}, false},
      {"a network display icon is never tried",
       Program(R"(\\server\share\a.exe,0)", R"(C:\A\u.exe)"),
       {},
       "",
       {{{R"(C:\A\u.exe)", 0}, false}},
       false},
      {"a registered product icon on a share is never tried",
       Program("", "", kCode),
       {},
       R"(\\server\icons\p.ico)",
       {},
       false},
  };
  for (const auto& row : rows) {
    const Found found = Find(row.program, row.giving, row.product_icon);
    EXPECT_EQ(found.tried, row.tried) << row.name;
    EXPECT_EQ(found.any, row.any) << row.name;
  }
}

}  // namespace
