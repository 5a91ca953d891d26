// Starts over the real system under Wine: each elevation with each way of following, through
// the helper, which relaunches itself as uninstallers do; failed starts; waits cut short by their
// bound or a stop; an address opened from a worker thread; and real uninstallers, NSIS and
// Windows Installer, followed to their end. A declined elevation cannot happen under Wine, whose
// "runas" never asks: the substitute platform's table covers it, and error 740 likewise.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "platform/win32/launcher.h"
#include "platform/win32/utf.h"
#include "test_support.h"

namespace {

using namespace std::chrono_literals;
using platform::Elevation;
using platform::Follow;
using platform::RunEnd;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kLongBound = 60'000;
// The helper's relaunched copy: how long it runs, and its exit code; the first ends at once.
constexpr int kCopyMs = 3000;
constexpr std::uint32_t kCopyExit = 9;
constexpr std::uint32_t kRelaunchedExit = 4;
constexpr std::uint32_t kUnknownProductExit = ERROR_UNKNOWN_PRODUCT;
const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::string Utf8(const std::filesystem::path& path) {
  return win32::WideToUtf8(path.wstring());
}
std::string Quoted(const std::filesystem::path& path) {
  // Appended, not prepended: GCC 12 at -O3 warns wrongly of overlapping copies in "x" + text.
  std::string quoted(1, '"');
  quoted += Utf8(path);
  quoted += '"';
  return quoted;
}
double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A program with its arguments, as a command line and as the shell's parameters, as the
// program's own starts give both.
platform::StartSpec Program(const std::filesystem::path& program, const std::string& arguments,
                            Elevation elevation, Follow follow) {
  platform::StartSpec asked;
  asked.program = Utf8(program);
  asked.command_line = Quoted(program) + " " + arguments;
  asked.parameters = arguments;
  asked.show = platform::kSwHideWindow;
  asked.elevation = elevation;
  asked.follow = follow;
  return asked;
}

bool KeyExists(HKEY root, const std::wstring& path) {
  win32_test::UniqueKey key;
  return ::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

std::wstring ReadText(const std::wstring& key, const wchar_t* value) {
  wchar_t data[1024];
  DWORD size = sizeof(data);
  if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  return data;
}

class StartTest : public ::testing::Test {
 protected:
  // Wine starts its desktop process for the first program with a window in a prefix, and a
  // program started before that would count it in its job: a window of this one comes first.
  static void SetUpTestSuite() { ::GetDesktopWindow(); }

  win32::Launcher launcher_;
  const win32_test::ScratchDir dir_;
};

TEST_F(StartTest, EachElevationFollowsWhatItCan) {
  std::string relaunch = "--relaunch ";
  relaunch += std::to_string(kCopyMs) + " " + std::to_string(kCopyExit);
  // Not a key of this test: the copy fails to delete it, unseen, outside the job.
  const std::string break_away = "--break-away Software\\TapwiseNoSuchKey";
  const struct {
    const char* name;
    Elevation elevation;
    Follow follow;
    const std::string& arguments;
    RunEnd end;
    std::uint32_t exit_code;
    bool waits_for_copy;
  } cases[] = {
      {"nothing followed", Elevation::kNever, Follow::kNothing, relaunch, RunEnd::kNotKnown, 0,
       false},
      {"the process alone", Elevation::kNever, Follow::kProcess, relaunch, RunEnd::kEnded,
       kRelaunchedExit, false},
      {"the job, to its copy's end", Elevation::kNever, Follow::kJob, relaunch, RunEnd::kEnded,
       kCopyExit, true},
      {"a copy that breaks away", Elevation::kNever, Follow::kJob, break_away, RunEnd::kEnded, 0,
       false},
      // Started without the shell, so in the job.
      {"rights not needed", Elevation::kWhenNeeded, Follow::kJob, relaunch, RunEnd::kEnded,
       kCopyExit, true},
      // Outside any job of the test's.
      {"elevated, its process alone", Elevation::kAlways, Follow::kJob, relaunch, RunEnd::kEnded,
       kRelaunchedExit, false},
      {"elevated, nothing followed", Elevation::kAlways, Follow::kNothing, relaunch,
       RunEnd::kNotKnown, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto start = Clock::now();
    platform::Started started =
        launcher_.Start(Program(win32_test::HelperPath(), c.arguments, c.elevation, c.follow));
    ASSERT_EQ(started.Error(), platform::kStartOk);
    const platform::RunOutcome outcome = started.Wait(kLongBound);
    const double seconds = SecondsSince(start);
    EXPECT_EQ(outcome.end, c.end);
    EXPECT_EQ(outcome.exit_code, c.exit_code);
    EXPECT_EQ(seconds >= kCopyMs / 1000.0, c.waits_for_copy) << seconds << " s";
  }
}

TEST_F(StartTest, AFailedStartHasNothingToWaitFor) {
  const std::filesystem::path missing = dir_.path() / L"missing.exe";
  platform::StartSpec shell = Program(missing, "", Elevation::kNever, Follow::kProcess);
  shell.command_line.clear();
  const struct {
    const char* name;
    platform::StartSpec asked;
  } cases[] = {
      {"command line", Program(missing, "", Elevation::kNever, Follow::kProcess)},
      {"command line in a job", Program(missing, "", Elevation::kWhenNeeded, Follow::kJob)},
      {"through the shell", shell},
      {"elevated", Program(missing, "", Elevation::kAlways, Follow::kProcess)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    platform::Started started = launcher_.Start(c.asked);
    EXPECT_EQ(started.Error(), platform::kErrorFileNotFound);
    EXPECT_EQ(started.Wait(kLongBound).end, RunEnd::kNotKnown);
  }
}

// Nothing is ever ended: not when the bound passes, nor on a stop, nor when what was started
// is let go. The test ends the program itself.
TEST_F(StartTest, AWaitCutShortLeavesTheProgramRunning) {
  constexpr std::uint32_t kShortBound = 300;
  constexpr auto kStopAfter = 300ms;
  const struct {
    const char* name;
    Elevation elevation;
    Follow follow;
    std::uint32_t bound_ms;
    bool stop;
  } cases[] = {
      {"bound, process", Elevation::kNever, Follow::kProcess, kShortBound, false},
      {"bound, job", Elevation::kNever, Follow::kJob, kShortBound, false},
      {"stop, job", Elevation::kNever, Follow::kJob, kLongBound, true},
      {"stop, elevated", Elevation::kAlways, Follow::kProcess, kLongBound, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path pid_file = dir_.path() / (std::string(c.name) + ".pid");
    std::optional<platform::Started> started = launcher_.Start(
        Program(win32_test::HelperPath(), "--pid " + Quoted(pid_file), c.elevation, c.follow));
    ASSERT_EQ(started->Error(), platform::kStartOk);
    std::stop_source stop;
    const auto start = Clock::now();
    std::jthread stopper([&] {
      if (!c.stop) return;
      std::this_thread::sleep_for(kStopAfter);
      stop.request_stop();
    });
    EXPECT_EQ(started->Wait(c.bound_ms, stop.get_token()).end, RunEnd::kRunning);
    EXPECT_LT(SecondsSince(start), 5.0);
    started.reset();

    ASSERT_TRUE(win32_test::WaitFor([&] { return !win32_test::ReadFile(pid_file).empty(); }, 10s));
    const auto pid = static_cast<DWORD>(std::stoul(win32_test::ReadFile(pid_file)));
    const win32::UniqueKernelHandle process(
        ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    ASSERT_TRUE(process);
    EXPECT_EQ(::WaitForSingleObject(process.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    ::TerminateProcess(process.get(), 1);
    ::WaitForSingleObject(process.get(), 5000);
  }
}

// An address goes to the program registered for its scheme, as a web page goes to the
// browser; from a worker thread, which the shell needs in an apartment of its own.
TEST_F(StartTest, AnAddressOpensWithItsSchemesProgramFromAWorker) {
  const std::wstring scheme = L"tapwisetest" + std::to_wstring(::GetCurrentProcessId());
  const std::wstring classes = scheme;
  const std::filesystem::path written = dir_.path() / L"line.bin";
  const std::wstring command = L"\"" + win32_test::HelperPath().wstring() +
                               L"\" --command-line \"" + written.wstring() + L"\" \"%1\"";
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CLASSES_ROOT, classes.c_str(), L"URL Protocol", REG_SZ, L"",
                              sizeof(wchar_t)),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CLASSES_ROOT, (classes + L"\\shell\\open\\command").c_str(),
                              nullptr, REG_SZ, command.c_str(),
                              static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  const std::string address = win32::WideToUtf8(scheme) + ":page?a=1";
  platform::StartError error = platform::kErrorFileNotFound;
  std::jthread([&] {
    platform::StartSpec asked;
    asked.program = address;
    error = launcher_.Start(asked).Error();
  }).join();
  const bool opened = win32_test::WaitFor(
      [&] {
        const std::string bytes = win32_test::ReadFile(written);
        const std::wstring line(reinterpret_cast<const wchar_t*>(bytes.data()),
                                bytes.size() / sizeof(wchar_t));
        return line.find(L"page?a=1") != std::wstring::npos;
      },
      10s);
  ::RegDeleteTreeW(HKEY_CLASSES_ROOT, classes.c_str());
  EXPECT_EQ(error, platform::kStartOk);
  EXPECT_TRUE(opened);
}

// Real uninstallers, started as the program starts a quiet uninstall: NSIS's copies itself to
// the temporary folder and runs the copy, which the job follows; Windows Installer's reports an
// unknown product by its exit code. Their runs' figures are printed for the record.
class UninstallerTest : public StartTest {
 protected:
  // Installs a package, with a command line run to its end; whether it ended with 0.
  bool Install(const std::filesystem::path& program, const std::string& arguments) {
    platform::Started started =
        launcher_.Start(Program(program, arguments, Elevation::kNever, Follow::kProcess));
    const platform::RunOutcome outcome = started.Wait(kLongBound);
    return outcome.end == RunEnd::kEnded && outcome.exit_code == 0;
  }

  platform::RunOutcome Uninstall(const std::filesystem::path& program, const std::string& arguments,
                                 std::uint32_t bound_ms) {
    const auto start = Clock::now();
    platform::Started started =
        launcher_.Start(Program(program, arguments, Elevation::kWhenNeeded, Follow::kJob));
    EXPECT_EQ(started.Error(), platform::kStartOk);
    const platform::RunOutcome outcome = started.Wait(bound_ms);
    std::printf("%s %s: end %d, exit code %u after %.2f s\n", Utf8(program).c_str(),
                arguments.c_str(), static_cast<int>(outcome.end), outcome.exit_code,
                SecondsSince(start));
    return outcome;
  }

  static std::filesystem::path Beside(const wchar_t* name) {
    return win32_test::HelperPath().parent_path() / name;
  }
};

TEST_F(UninstallerTest, NsisRunsLastUntilTheirCopiesHaveEnded) {
  constexpr std::uint32_t kUnansweredBound = 3000;
  const struct {
    const wchar_t* package;
    const wchar_t* name;
    std::uint32_t bound_ms;
    RunEnd end;
    std::uint32_t exit_code;
    bool removed;
  } cases[] = {
      {L"quiet-remove.exe", L"Tapwise Quiet remove", kLongBound, RunEnd::kEnded, 0, true},
      {L"quiet-fails.exe", L"Tapwise Quiet fails", kLongBound, RunEnd::kEnded, 3, false},
      // Its box under /S is never answered.
      {L"quiet-asks.exe", L"Tapwise Quiet asks", kUnansweredBound, RunEnd::kRunning, 0, false},
  };
  for (const auto& c : cases) {
    const std::filesystem::path package = Beside(c.package);
    if (!std::filesystem::exists(package)) GTEST_SKIP() << "makensis built no package";
    SCOPED_TRACE(win32::WideToUtf8(c.name));
    ASSERT_TRUE(Install(package, "/S"));
    const std::wstring key = kUninstallKey + c.name;
    // The entry's quiet command: its quoted program, then "/S".
    const std::wstring command = ReadText(key, L"QuietUninstallString");
    const std::size_t quote = command.find(L'"', 1);
    ASSERT_NE(quote, std::wstring::npos) << win32::WideToUtf8(command);

    const auto start = Clock::now();
    const platform::RunOutcome outcome = Uninstall(
        command.substr(1, quote - 1), win32::WideToUtf8(command.substr(quote + 2)), c.bound_ms);
    EXPECT_LT(SecondsSince(start), c.bound_ms / 1000.0 + 2);
    EXPECT_EQ(outcome.end, c.end);
    EXPECT_EQ(outcome.exit_code, c.exit_code);
    EXPECT_EQ(!KeyExists(HKEY_CURRENT_USER, key), c.removed) << "at the end of the run";
    // NSIS's copy of an uninstaller runs as Au_.exe from the temporary folder.
    win32_test::EndProcessesNamed(L"Au_.exe");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
  }
}

TEST_F(UninstallerTest, WindowsInstallerRemovesItsProductOrReportsAnUnknownOne) {
  const std::string product = "{BDF63D8D-942F-4DC6-BF44-9EE03A7205F6}";
  // A product code that nothing installed has.
  const std::string unknown = "{0D3F1C62-5E0A-4E55-9D1B-7C1D2B3A4F50}";
  const std::filesystem::path package = Beside(L"quiet-app.msi");
  if (!std::filesystem::exists(package)) GTEST_SKIP() << "wixl built no package";
  const std::filesystem::path msiexec =
      win32::Utf8ToWide(platform::SystemProgram(launcher_, "msiexec.exe"));
  ASSERT_TRUE(Install(msiexec, "/i " + Quoted(package) + " /qn"));
  ASSERT_NE(launcher_.InstallerProductState(product), platform::kInstallStateUnknown);
  const struct {
    const std::string& code;
    std::uint32_t exit_code;
  } cases[] = {{product, 0}, {unknown, kUnknownProductExit}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    const platform::RunOutcome outcome = Uninstall(msiexec, "/x" + c.code + " /qn", kLongBound);
    EXPECT_EQ(outcome.end, RunEnd::kEnded);
    EXPECT_EQ(outcome.exit_code, c.exit_code);
    EXPECT_EQ(launcher_.InstallerProductState(c.code), platform::kInstallStateUnknown);
  }
}

}  // namespace
