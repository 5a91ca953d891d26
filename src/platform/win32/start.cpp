// A start as it was asked for. A command line goes to CreateProcessW, which searches no folder for
// the program; everything else, and every start with administrator rights, goes through the
// shell, whose "runas" asks the user for them. What was started is then followed as asked.

#include <windows.h>
// shellapi.h needs the definitions of windows.h first.
#include <shellapi.h>

#include <string>
#include <utility>

#include "platform/win32/followers.h"
#include "platform/win32/handles.h"
#include "platform/win32/launcher.h"
#include "platform/win32/shell_starts.h"
#include "platform/win32/utf.h"

namespace win32 {
namespace {

using platform::Elevation;
using platform::Follow;
using platform::Started;
using platform::StartSpec;

// The shell's verb that asks for administrator rights.
constexpr wchar_t kElevatingVerb[] = L"runas";

// A started program's first thread. It is started suspended when it is to join a job, and runs
// once its owner lets it go, whatever happened meanwhile; resuming one that runs does nothing.
void ResumeAndClose(HANDLE thread) {
  ::ResumeThread(thread);
  ::CloseHandle(thread);
}
using UniqueFirstThread = platform::UniqueHandle<HandleTraits<HANDLE, ResumeAndClose>>;

// The shell and CreateProcessW take a null pointer, not an empty string, for "not given".
const wchar_t* OrNull(const std::wstring& text) {
  return text.empty() ? nullptr : text.c_str();
}

Started StartThroughShell(const StartSpec& asked, const std::wstring& verb) {
  const std::wstring file = Utf8ToWide(asked.program);
  const std::wstring parameters = Utf8ToWide(asked.parameters);
  const std::wstring directory = Utf8ToWide(asked.directory);
  const bool following = asked.follow != Follow::kNothing;
  const bool keep_process = following || asked.allow_foreground;
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = asked.shell_mask | (keep_process ? SEE_MASK_NOCLOSEPROCESS : 0);
  info.lpVerb = OrNull(verb);
  info.lpFile = file.c_str();
  info.lpParameters = OrNull(parameters);
  info.lpDirectory = OrNull(directory);
  info.nShow = asked.show;
  const DWORD error = ExecuteThroughShell(info);
  // The shell's own programs, and a program it hands to one already running, give no process:
  // there is then nothing to follow. An elevated program cannot join this program's job.
  UniqueKernelHandle process(info.hProcess);
  // Its window may come to the front though this program has it now.
  if (process && asked.allow_foreground) ::AllowSetForegroundWindow(::GetProcessId(process.get()));
  if (error != ERROR_SUCCESS || !process || !following) return Started(error);
  return Started(platform::kStartOk, FollowProcess(std::move(process)));
}

struct Created {
  DWORD error = ERROR_SUCCESS;
  UniqueKernelHandle process;
  UniqueFirstThread thread;
  DWORD process_id = 0;
};

Created CreateProcessFor(const StartSpec& asked) {
  const std::wstring program = Utf8ToWide(asked.program);
  const std::wstring directory = Utf8ToWide(asked.directory);
  // CreateProcessW may write into the command line, so it gets a copy it owns.
  std::wstring command_line = Utf8ToWide(asked.command_line);
  command_line.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(asked.show);
  DWORD flags = asked.default_error_mode ? CREATE_DEFAULT_ERROR_MODE : 0;
  // In the job before it runs one instruction, so that nothing it starts escapes it.
  if (asked.follow == Follow::kJob) flags |= CREATE_SUSPENDED;
  PROCESS_INFORMATION started{};
  Created created;
  if (!::CreateProcessW(OrNull(program), command_line.data(), nullptr, nullptr, FALSE, flags,
                        nullptr, OrNull(directory), &startup, &started)) {
    created.error = ::GetLastError();
    return created;
  }
  created.process.reset(started.hProcess);
  created.thread.reset(started.hThread);
  created.process_id = started.dwProcessId;
  return created;
}

Started FollowCreated(Created created, Follow follow) {
  switch (follow) {
    case Follow::kProcess:
      return Started(platform::kStartOk, FollowProcess(std::move(created.process)));
    case Follow::kJob:
      // The first thread is resumed as created goes, after the program has joined the job.
      return Started(platform::kStartOk,
                     FollowInJob(std::move(created.process), created.process_id));
    case Follow::kNothing:
      break;
  }
  return Started(platform::kStartOk);
}

}  // namespace

Started Launcher::Start(const StartSpec& asked) {
  if (asked.elevation == Elevation::kAlways) return StartThroughShell(asked, kElevatingVerb);
  if (asked.command_line.empty()) return StartThroughShell(asked, Utf8ToWide(asked.verb));
  Created created = CreateProcessFor(asked);
  if (created.error == platform::kErrorElevationRequired &&
      asked.elevation == Elevation::kWhenNeeded) {
    return StartThroughShell(asked, kElevatingVerb);
  }
  if (created.error != ERROR_SUCCESS) return Started(created.error);
  return FollowCreated(std::move(created), asked.follow);
}

}  // namespace win32
