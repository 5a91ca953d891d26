// A quiet uninstall followed to its end under Wine, with real packages: NSIS uninstallers that
// relaunch themselves from the temporary folder, a Windows Installer package, and a helper that
// breaks away from the job. Each run's figures are printed for the record.

#include <windows.h>
// tlhelp32.h needs the definitions of windows.h first.
#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/entry/entry_values.h"
#include "app/launch/launch_plan.h"
#include "app/quiet/quiet_command.h"
#include "app/quiet/quiet_outcome.h"
#include "platform/win32/file_dates.h"
#include "platform/win32/launcher.h"
#include "platform/win32/registry.h"
#include "platform/win32/utf.h"
#include "test_support.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kMsiCode = "{BDF63D8D-942F-4DC6-BF44-9EE03A7205F6}";
// A product code that nothing installed has.
const std::string kUnknownCode = "{0D3F1C62-5E0A-4E55-9D1B-7C1D2B3A4F50}";
constexpr std::uint32_t kLongBound = 60'000;
constexpr DWORD kInstallWait = 60'000;

std::filesystem::path Beside(const wchar_t* name) {
  return win32_test::HelperPath().parent_path() / name;
}

// Runs a command line to its end; its exit code, or nothing when it did not start or end.
std::optional<DWORD> RunToEnd(const std::wstring& command_line) {
  std::wstring writable = command_line;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
    return std::nullopt;
  }
  const win32::UniqueKernelHandle process(started.hProcess);
  const win32::UniqueKernelHandle thread(started.hThread);
  if (::WaitForSingleObject(process.get(), kInstallWait) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  ::GetExitCodeProcess(process.get(), &code);
  return code;
}

std::wstring SystemProgram(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder, length) + L"\\" + name;
}

// Ends every process of that file name: what a test leaves running must not outlive it.
void EndProcessesNamed(const wchar_t* name) {
  const win32::UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
       more = ::Process32NextW(snapshot.get(), &entry)) {
    if (::lstrcmpiW(entry.szExeFile, name) != 0) continue;
    const win32::UniqueKernelHandle process(
        ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID));
    if (!process) continue;
    ::TerminateProcess(process.get(), 1);
    ::WaitForSingleObject(process.get(), 5000);
  }
}

app::ProgramEntry UserEntry(const std::string& key_name) {
  app::ProgramEntry program;
  program.name = key_name;
  program.view = app::EntryView::kUser;
  program.key_name = key_name;
  return program;
}

std::string ReadUserText(const std::string& key_name, const wchar_t* value) {
  wchar_t data[1024];
  DWORD size = sizeof(data);
  const std::wstring key = kUninstallKey + win32::Utf8ToWide(key_name);
  if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  return win32::WideToUtf8(data);
}

class TrackedRunTest : public ::testing::Test {
 protected:
  // Wine starts its desktop process for the first program with a window in a prefix, and a
  // program started before that would count it in its job: a window of this one comes first.
  static void SetUpTestSuite() { ::GetDesktopWindow(); }

  // Plans the entry's quiet command as the program does, runs it and reads the entry again.
  struct Outcome {
    platform::TrackedRun run;
    bool listed = true;
    double run_s = 0;
    double total_s = 0;
  };
  Outcome RunQuietly(const app::ProgramEntry& program, std::uint32_t bound_ms, bool elevated) {
    Outcome outcome;
    const auto plan = app::PlanQuietUninstall(program, {launcher_, files_, true}, elevated);
    EXPECT_TRUE(plan.has_value());
    if (!plan) return outcome;
    const auto start = Clock::now();
    outcome.run = launcher_.RunTracked(platform::TrackedStart{
        .process = {plan->program, plan->command_line, plan->directory, plan->show},
        .arguments = plan->arguments,
        .bound_ms = bound_ms});
    outcome.run_s = Seconds(start);
    outcome.listed = outcome.run.error == platform::kStartOk &&
                     app::ListedAfterRun(registry_, launcher_, program, outcome.run.ended);
    outcome.total_s = Seconds(start);
    std::printf("%s: error %u, ended %d, exit code %u after %.2f s; listed %d at %.2f s\n",
                program.name.c_str(), outcome.run.error, outcome.run.ended, outcome.run.exit_code,
                outcome.run_s, outcome.listed, outcome.total_s);
    return outcome;
  }

  static double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
  }

  win32::Launcher launcher_;
  win32::FileDates files_;
  win32::Registry registry_;
};

struct NsisCase {
  const wchar_t* package;
  std::string name;
  std::uint32_t bound_ms;
  bool ended;
  std::uint32_t exit_code;
  bool listed;
  app::QuietCase outcome;
};

class NsisQuietTest : public TrackedRunTest, public ::testing::WithParamInterface<NsisCase> {
 protected:
  void TearDown() override {
    // NSIS's copy of an uninstaller runs as Au_.exe from the temporary folder.
    EndProcessesNamed(L"Au_.exe");
    const std::wstring key = kUninstallKey + win32::Utf8ToWide(GetParam().name);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
  }
};

TEST_P(NsisQuietTest, TheRunLastsUntilTheCopyHasEnded) {
  const NsisCase& c = GetParam();
  const std::filesystem::path package = Beside(c.package);
  if (!std::filesystem::exists(package)) GTEST_SKIP() << "makensis built no package";
  ASSERT_EQ(RunToEnd(L"\"" + package.wstring() + L"\" /S"), 0u);
  app::ProgramEntry program = UserEntry(c.name);
  program.quiet_command = ReadUserText(c.name, L"QuietUninstallString");
  ASSERT_FALSE(program.quiet_command.empty());

  const Outcome outcome = RunQuietly(program, c.bound_ms, false);
  EXPECT_EQ(outcome.run.error, platform::kStartOk);
  EXPECT_EQ(outcome.run.ended, c.ended);
  if (c.ended) {
    EXPECT_EQ(outcome.run.exit_code, c.exit_code);
  }
  EXPECT_EQ(outcome.listed, c.listed);
  if (!c.ended) {
    EXPECT_LT(outcome.total_s, c.bound_ms / 1000.0 + 2) << "no watch after the bound";
  }
  EXPECT_EQ(app::QuietOutcome(c.name, outcome.run, outcome.listed).kind, c.outcome);
}

INSTANTIATE_TEST_SUITE_P(
    Packages, NsisQuietTest,
    ::testing::Values(NsisCase{L"quiet-remove.exe", "Tapwise Quiet remove", kLongBound, true, 0,
                               false, app::QuietCase::kRemoved},
                      NsisCase{L"quiet-fails.exe", "Tapwise Quiet fails", kLongBound, true, 3, true,
                               app::QuietCase::kStillListed},
                      NsisCase{L"quiet-asks.exe", "Tapwise Quiet asks", 3000, false, 0, true,
                               app::QuietCase::kStillRunning}),
    [](const auto& info) {
      return std::string(info.param.name.substr(info.param.name.rfind(' ') + 1));
    });

TEST_F(TrackedRunTest, AWindowsInstallerPackageIsRemovedAndAnUnknownCodeSaysNotInstalled) {
  const std::filesystem::path package = Beside(L"quiet-app.msi");
  if (!std::filesystem::exists(package)) GTEST_SKIP() << "wixl built no package";
  ASSERT_EQ(
      RunToEnd(L"\"" + SystemProgram(L"msiexec.exe") + L"\" /i \"" + package.wstring() + L"\" /qn"),
      0u);
  app::ProgramEntry installed;
  installed.name = "Tapwise Msi App";
  installed.view = app::EntryView::kMachineDefault;
  installed.key_name = kMsiCode;
  installed.product_code = kMsiCode;
  installed.windows_installer = true;
  ASSERT_TRUE(app::EntryListed(registry_, installed));

  const Outcome removed = RunQuietly(installed, kLongBound, true);
  EXPECT_TRUE(removed.run.ended);
  EXPECT_EQ(removed.run.exit_code, 0u);
  EXPECT_FALSE(removed.listed);

  // An entry whose product the Windows Installer does not know.
  const std::wstring key = kUninstallKey + win32::Utf8ToWide(kUnknownCode);
  win32_test::UniqueKey created;
  HKEY handle = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  created.reset(handle);
  app::ProgramEntry unknown = UserEntry(kUnknownCode);
  unknown.product_code = kUnknownCode;
  unknown.windows_installer = true;
  const Outcome failed = RunQuietly(unknown, kLongBound, true);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
  EXPECT_TRUE(failed.run.ended);
  EXPECT_EQ(failed.run.exit_code, app::kExitUnknownProduct);
  EXPECT_TRUE(failed.listed);
}

TEST_F(TrackedRunTest, AHelperThatBreaksAwayFinishesWithinTheWatch) {
  const std::string name = win32::WideToUtf8(win32_test::UniqueName(L"Tapwise Breakaway "));
  const std::wstring key = kUninstallKey + win32::Utf8ToWide(name);
  HKEY handle = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  ::RegCloseKey(handle);
  app::ProgramEntry program = UserEntry(name);
  program.quiet_command = "\"" + win32_test::HelperPath().string() + "\" --break-away \"" +
                          win32::WideToUtf8(key) + "\"";

  const Outcome outcome = RunQuietly(program, kLongBound, false);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
  EXPECT_TRUE(outcome.run.ended);
  EXPECT_EQ(outcome.run.exit_code, 0u) << "the break-away was allowed";
  EXPECT_LT(outcome.run_s, 2.0) << "the helper's copy is outside the job";
  EXPECT_FALSE(outcome.listed);
  EXPECT_GT(outcome.total_s, 2.5) << "the key went 3 s later";
}

}  // namespace
