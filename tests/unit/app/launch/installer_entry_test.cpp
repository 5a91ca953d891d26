// A Windows Installer entry whose product Windows Installer does not know is offered for
// removal like one whose uninstaller is gone; every other answer, or none, starts msiexec.

#include "app/launch/installer_entry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/harness.h"
#include "app/menu/main_form.h"
#include "app/texts/texts.h"

namespace {

using testing_support::Forms;

const std::string kCode = "{BDF63D8D-942F-4DC6-BF44-9EE03A7205F6}";
const std::string kOtherCode = "{00000000-942F-4DC6-BF44-9EE03A7205F6}";
constexpr platform::Date kSomeDate{2020, 1, 1};

// An entry as the scan reads it; marked as Windows Installer's as "WindowsInstaller" = 1 marks it.
app::ProgramEntry InstallerEntry(const std::string& key, const std::string& command,
                                 bool windows_installer = false) {
  app::ProgramEntry program;
  program.name = "Msi App";
  program.command = command;
  program.product_code = key.front() == '{' ? key : "";
  program.windows_installer = windows_installer;
  program.key_name = key;
  return program;
}

// Which entries count as Windows Installer's, and with which code.
TEST(InstallerEntry, KeyNamedByTheCodeAndNoCommandOrMsiexecWithThatCode) {
  const std::string lower = "{bdf63d8d-942f-4dc6-bf44-9ee03a7205f6}";
  const struct {
    app::ProgramEntry program;
    std::string code;
  } cases[] = {
      {InstallerEntry(kCode, "", true), kCode},
      {InstallerEntry(kCode, " ", true), kCode},
      {InstallerEntry(kCode, "MsiExec.exe /X" + kCode), kCode},
      {InstallerEntry(kCode, "MsiExec.exe /I" + kCode), kCode},
      {InstallerEntry(kCode, "\"C:\\Windows\\System32\\msiexec.exe\" /x " + lower + " /qb"), kCode},
      {InstallerEntry(lower, "msiexec /i" + kCode), lower},
      // Not Windows Installer's: no code in the key, another code, no msiexec, no switch.
      {InstallerEntry("App", "MsiExec.exe /X" + kCode), ""},
      {InstallerEntry(kCode, "MsiExec.exe /X" + kOtherCode), ""},
      {InstallerEntry(kCode, "C:\\App\\uninst.exe /X" + kCode), ""},
      {InstallerEntry(kCode, "MsiExec.exe " + kCode), ""},
      {InstallerEntry(kCode, "MsiExec.exe /P" + kCode), ""},
      {InstallerEntry(kCode, ""), ""},  // no command and not marked as Windows Installer's
  };
  for (const auto& c : cases) {
    EXPECT_EQ(app::InstallerEntryCode(c.program), c.code) << c.program.command;
  }
}

struct StateCase {
  const char* label;
  std::optional<int> state;
  bool offered;  // the box comes instead of msiexec
};

// Each state, for an entry without a command and one with msiexec's: only "unknown" offers
// the removal; "No" then starts nothing and remembers nothing.
TEST(InstallerEntry, OnlyAnUnknownProductIsOfferedForRemoval) {
  const StateCase states[] = {
      {"unknown", platform::kInstallStateUnknown, true},
      {"installed", 5, false},
      {"advertised", 1, false},
      {"no msi.dll", std::nullopt, false},
      {"a failing call", -2, false},
  };
  for (const StateCase& s : states) {
    for (const auto& program :
         {InstallerEntry(kCode, "", true), InstallerEntry(kCode, "MsiExec.exe /X" + kCode)}) {
      SCOPED_TRACE(std::string(s.label) + ", command '" + program.command + "'");
      Forms forms;
      forms.sim.files.AddFile("C:\\Windows\\system32\\MsiExec.exe", kSomeDate);
      forms.sim.launcher.SetInstallerProductState(s.state);
      forms.sim.windows.AnswerBox(platform::kIdNo);
      forms.Uninstall(program);
      EXPECT_EQ(forms.sim.launcher.ProductQueries(), std::vector<std::string>{kCode});
      EXPECT_EQ(forms.sim.launcher.Launches().size(), s.offered ? 0u : 1u);
      ASSERT_EQ(forms.sim.windows.Boxes().size(), s.offered ? 1u : 0u);
      const bool remembered =
          forms.sim.registry
              .Value(platform::kHkeyCurrentUser, "Software\\Quillon\\Tapwise Uninstaller", "Last")
              .has_value();
      EXPECT_EQ(remembered, !s.offered);
      if (!s.offered) continue;
      const sim::BoxRecord& box = forms.sim.windows.Boxes()[0];
      EXPECT_EQ(box.text, app::UnknownProductQuestion("Msi App", kCode));
      EXPECT_EQ(box.style, platform::kMbYesNo | platform::kMbIconWarning | platform::kMbDefButton2);
    }
  }
}

// Nothing else asks Windows Installer: not the start, not other entries.
TEST(InstallerEntry, OtherEntriesNeverAsk) {
  Forms forms;
  forms.sim.files.AddFile("C:\\App\\uninst.exe", kSomeDate);
  forms.sim.launcher.SetInstallerProductState(platform::kInstallStateUnknown);
  forms.Uninstall(InstallerEntry("App", "C:\\App\\uninst.exe"));
  EXPECT_TRUE(forms.sim.launcher.ProductQueries().empty());
  EXPECT_EQ(forms.sim.launcher.Launches().size(), 1u);
}

}  // namespace
