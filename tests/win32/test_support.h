#pragma once

// Shared pieces of the Wine-run tests: scratch directories, the helper program, running
// processes and pumping the message queue.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/win32/handles.h"

namespace win32_test {

// Kinds that only the tests open.
using UniqueKey = platform::UniqueHandle<win32::HandleTraits<HKEY, ::RegCloseKey>>;
using UniqueFileHandle = platform::UniqueHandle<win32::InvalidValueTraits<::CloseHandle>>;

// A name no other test run uses: the process id and a counter.
std::wstring UniqueName(const std::wstring& prefix);

// A fresh directory under the temporary directory, removed with its contents at the end.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The helper program built beside the test program.
std::filesystem::path HelperPath();

// A started process, ended and released at the end if it still runs.
class RunningProcess {
 public:
  // Starts command_line with CreateProcessW; check with operator bool.
  explicit RunningProcess(const std::wstring& command_line);
  ~RunningProcess();
  RunningProcess(RunningProcess&&) = default;
  RunningProcess& operator=(RunningProcess&&) = default;

  explicit operator bool() const { return static_cast<bool>(process_); }
  void Terminate();

 private:
  win32::UniqueKernelHandle process_;
};

// Ends every process of that file name: what a test leaves running must not outlive it.
void EndProcessesNamed(const wchar_t* name);

// Polls condition until it holds or the time is up; true when it held.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit);

std::string ReadFile(const std::filesystem::path& path);

}  // namespace win32_test
