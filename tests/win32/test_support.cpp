#include "test_support.h"

// tlhelp32.h needs the definitions of windows.h first.
#include <tlhelp32.h>

#include <fstream>
#include <sstream>
#include <thread>

namespace win32_test {
namespace {

constexpr DWORD kTerminatedExitCode = 99;
constexpr DWORD kTerminateWaitMs = 5000;
constexpr auto kPollInterval = std::chrono::milliseconds(20);
constexpr auto kRemoveLimit = std::chrono::milliseconds(3000);

}  // namespace

std::wstring UniqueName(const std::wstring& prefix) {
  static unsigned counter = 0;
  return prefix + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
         std::to_wstring(::GetTickCount()) + L"-" + std::to_wstring(++counter);
}

ScratchDir::ScratchDir()
    : path_(std::filesystem::temp_directory_path() / UniqueName(L"tapwise-test")) {
  std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  // A program started from here may still be on its way out, holding its file open.
  WaitFor(
      [&] {
        std::error_code failed;
        std::filesystem::remove_all(path_, failed);
        return !failed;
      },
      kRemoveLimit);
}

std::filesystem::path HelperPath() {
  std::wstring self(MAX_PATH, L'\0');
  const DWORD length = ::GetModuleFileNameW(nullptr, self.data(), MAX_PATH);
  self.resize(length);
  return std::filesystem::path(self).parent_path() / L"win32_test_helper.exe";
}

RunningProcess::RunningProcess(const std::wstring& command_line) {
  std::wstring writable = command_line;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
    return;
  }
  process_.reset(started.hProcess);
  const win32::UniqueKernelHandle thread(started.hThread);
}

RunningProcess::~RunningProcess() {
  Terminate();
}

void RunningProcess::Terminate() {
  if (!process_) return;
  ::TerminateProcess(process_.get(), kTerminatedExitCode);
  ::WaitForSingleObject(process_.get(), kTerminateWaitMs);
  process_.reset();
}

void EndProcessesNamed(const wchar_t* name) {
  const UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
       more = ::Process32NextW(snapshot.get(), &entry)) {
    if (::lstrcmpiW(entry.szExeFile, name) != 0) continue;
    const win32::UniqueKernelHandle process(
        ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID));
    if (!process) continue;
    ::TerminateProcess(process.get(), kTerminatedExitCode);
    ::WaitForSingleObject(process.get(), kTerminateWaitMs);
  }
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
  return true;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace win32_test
