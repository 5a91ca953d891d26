// Where icons come from: the rules as tables, without a platform.

#include "app/icon_source.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using app::IconCandidate;
using app::IconLocation;
using app::PathContext;

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

TEST(IconSource, TheCommandsProgramUnlessASystemRunner) {
  const struct {
    const char* command;
    const char* program;
  } rows[] = {
      {R"("C:\Program Files\Git\unins000.exe" /SILENT)", R"(C:\Program Files\Git\unins000.exe)"},
      {R"(C:\Program Files\7-Zip\Uninstall.exe /S)", R"(C:\Program Files\7-Zip\Uninstall.exe)"},
      {R"(C:\Tools\remove.EXE)", R"(C:\Tools\remove.EXE)"},
      {R"(C:\Tools\remove /quiet)", R"(C:\Tools\remove)"},
      {"MsiExec.exe /X{9A3CE4D6-2B5E-4E0B-8B4F-6C5D7E2A1F11}", ""},
      {R"(C:\Windows\System32\msiexec.exe /x {X})", ""},
      {R"(rundll32.exe C:\x.dll,Uninstall)", ""},
      {R"("C:\Windows\system32\RunDll32.EXE" x.dll)", ""},
      {"cmd /c del x", ""},
      {R"(cmd.exe /C "C:\x\u.exe")", ""},
      {"", ""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(app::CommandProgram(row.command), row.program) << row.command;
  }
}

PathContext Context() {
  static const std::map<std::string, std::string> environment = {
      {"PROGRAMFILES", R"(C:\Program Files (x86))"},
      {"PROGRAMW6432", R"(C:\Program Files)"},
      {"COMMONPROGRAMFILES", R"(C:\Program Files (x86)\Common Files)"},
      {"COMMONPROGRAMW6432", R"(C:\Program Files\Common Files)"},
      {"SYSTEMROOT", R"(C:\windows)"},
  };
  PathContext context;
  context.environment = [](const std::string& name) -> std::optional<std::string> {
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto it = environment.find(upper);
    if (it == environment.end()) return std::nullopt;
    return it->second;
  };
  context.is_remote_drive = [](char letter) { return letter == 'N' || letter == 'n'; };
  context.system_directory = R"(C:\windows\system32)";
  context.is_64_bit_system = true;
  return context;
}

TEST(IconSource, PathsAreOpenedAsTheEntrysViewSeesThem) {
  const struct {
    const char* registered;
    bool view64;
    std::optional<std::string> opened;
  } rows[] = {
      {R"(%ProgramFiles%\App\a.exe)", false, R"(C:\Program Files (x86)\App\a.exe)"},
      {R"(%ProgramFiles%\App\a.exe)", true, R"(C:\Program Files\App\a.exe)"},
      {R"(%CommonProgramFiles%\x.dll)", true, R"(C:\Program Files\Common Files\x.dll)"},
      {R"(%SystemRoot%\System32\shell32.dll)", false, R"(C:\windows\System32\shell32.dll)"},
      {R"(%SystemRoot%\System32\shell32.dll)", true, R"(C:\windows\Sysnative\shell32.dll)"},
      {R"(C:\WINDOWS\SYSTEM32\x.exe)", true, R"(C:\windows\Sysnative\x.exe)"},
      {R"(C:\windows\system32x\x.exe)", true, R"(C:\windows\system32x\x.exe)"},
      {R"(%Nowhere%\a.exe)", false, std::nullopt},
      {R"(C:\100%\%Nowhere\a.exe)", false, R"(C:\100%\%Nowhere\a.exe)"},
      {R"(\\server\share\a.exe)", false, std::nullopt},
      {R"(\\.\PhysicalDrive0)", false, std::nullopt},
      {R"(\\?\C:\a.exe)", false, std::nullopt},
      {R"(//server/share/a.exe)", false, std::nullopt},
      {R"(N:\Apps\a.exe)", false, std::nullopt},
      {R"(C:\Apps\CON)", false, std::nullopt},
      {R"(C:\Apps\nul.ico)", false, std::nullopt},
      {R"(C:\Apps\com1.exe)", false, std::nullopt},
      {R"(C:\Apps\com.exe)", false, R"(C:\Apps\com.exe)"},
      {R"(C:\Apps\COM1 .exe)", false, std::nullopt},
      {R"(C:\Apps\COM1:x)", false, std::nullopt},
      {"C:\\Apps\\COM\xC2\xB9", false, std::nullopt},
      {R"(C:\Apps\conout$.exe)", false, std::nullopt},
      {R"(a.exe)", false, std::nullopt},
      {R"(C:a.exe)", false, std::nullopt},
  };
  const PathContext context = Context();
  for (const auto& row : rows) {
    EXPECT_EQ(app::PathToOpen(row.registered, row.view64, context), row.opened)
        << row.registered << (row.view64 ? " (64-bit view)" : "");
  }
}

TEST(IconSource, SysnativeOnlyWhereA64BitSystemFolderLiesBehind) {
  PathContext context = Context();
  context.is_64_bit_system = false;
  EXPECT_EQ(app::ThroughSysnative(R"(C:\windows\system32\a.exe)", true, context),
            R"(C:\windows\system32\a.exe)");
}

// Each source is tried in order until one gives an icon; the attempts are listed.
struct Found {
  std::vector<IconCandidate> tried;
  bool any = false;
};

Found Find(const app::ProgramIcon& hint, const std::string& command,
           const std::vector<std::string>& giving, const std::string& product_icon = {}) {
  Found found;
  const auto product = [&](const std::string& packed) {
    return packed == "87654321DCBA10FE32547698BADCFE10" ? product_icon : std::string();
  };
  found.any = app::FindProgramIcon(hint, command, Context(), product, [&](const IconCandidate& c) {
    found.tried.push_back(c);
    return std::find(giving.begin(), giving.end(), c.location.path) != giving.end();
  });
  return found;
}

constexpr const char* kCode = "{12345678-ABCD-EF01-2345-6789ABCDEF01}";

TEST(IconSource, SourcesAreTriedInOrderUntilOneGivesAnIcon) {
  const struct {
    const char* name;
    app::ProgramIcon hint;
    std::string command;
    std::vector<std::string> giving;
    std::string product_icon;
    std::vector<IconCandidate> tried;
    bool any;
  } rows[] = {
      {"display icon first",
       {R"(C:\A\a.exe,2)", false, kCode},
       R"(C:\A\u.exe)",
       {R"(C:\A\a.exe)"},
       R"(C:\Windows\Installer\p.ico)",
       {{{R"(C:\A\a.exe)", 2}, false}},
       true},
      {"an .ico display icon goes to the loader",
       {R"("C:\A\a.ico",0)", false, ""},
       "",
       {R"(C:\A\a.ico)"},
       "",
       {{{R"(C:\A\a.ico)", 0}, true}},
       true},
      {"then the product icon",
       {R"(C:\A\gone.exe)", false, kCode},
       "MsiExec.exe /X{12345678-ABCD-EF01-2345-6789ABCDEF01}",
       {R"(C:\Windows\Installer\p.ico)"},
       R"(C:\Windows\Installer\p.ico)",
       {{{R"(C:\A\gone.exe)", 0}, false}, {{R"(C:\Windows\Installer\p.ico)", 0}, true}},
       true},
      {"then the command's program",
       {"", false, ""},
       R"("C:\A\u.exe" /S)",
       {R"(C:\A\u.exe)"},
       "",
       {{{R"(C:\A\u.exe)", 0}, false}},
       true},
      {"a 64-bit entry's command through its own folders",
       {"", true, ""},
       R"(%ProgramFiles%\A\u.exe)",
       {},
       "",
       {{{R"(C:\Program Files\A\u.exe)", 0}, false}},
       false},
      {"msiexec's icon is never the program's",
       {"", false, kCode},
       "MsiExec.exe /X{12345678-ABCD-EF01-2345-6789ABCDEF01}",
       {},
       "",
       {},
       false},
      {"a network display icon is never tried",
       {R"(\\server\share\a.exe,0)", false, ""},
       R"(C:\A\u.exe)",
       {},
       "",
       {{{R"(C:\A\u.exe)", 0}, false}},
       false},
  };
  for (const auto& row : rows) {
    const Found found = Find(row.hint, row.command, row.giving, row.product_icon);
    EXPECT_EQ(found.tried, row.tried) << row.name;
    EXPECT_EQ(found.any, row.any) << row.name;
  }
}

}  // namespace
