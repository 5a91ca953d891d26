// Following an uninstaller to its end. Many copy themselves to the temporary folder, start the
// copy and end at once, so the program started is followed with everything it starts: they run
// in a job object, and the run has ended when the job is empty. The job lets a program break
// away (some ask to, and fail without it) and never ends anything when it closes: what still
// runs after the bound is left running.
//
// The wait runs on the calling thread, the GUI thread, handling its messages as a message box
// would: the program is hidden meanwhile, and a program that sends a message to every window
// (a changed setting, often, at the end of an uninstall) is not held up by this one.

#include <windows.h>
// shellapi.h needs the definitions of windows.h first.
#include <shellapi.h>

#include <algorithm>
#include <map>
#include <optional>

#include "platform/win32/handles.h"
#include "platform/win32/launcher.h"
#include "platform/win32/shell_starts.h"
#include "platform/win32/utf.h"

namespace win32 {
namespace {

// Completion messages are not guaranteed: the job's count of programs is asked this often too.
constexpr DWORD kJobPollMs = 100;
constexpr ULONG_PTR kJobKey = 1;
// What a program being followed may be asked: its exit code, and whether it has ended.
constexpr DWORD kFollowAccess = PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE;

// Handles this thread's messages until handle (when given) is signalled or ms have passed. A
// quit is put back for the message loop, and the rest of the wait handles no more messages.
void WaitHandlingMessages(HANDLE handle, DWORD ms) {
  const ULONGLONG end = ::GetTickCount64() + ms;
  const DWORD count = handle != nullptr ? 1 : 0;
  for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
    const auto left = static_cast<DWORD>(end - now);
    const DWORD woken =
        ::MsgWaitForMultipleObjectsEx(count, &handle, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken != WAIT_OBJECT_0 + count) return;  // signalled, timed out, or failed
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(message.wParam));
        if (handle != nullptr) {
          ::WaitForSingleObject(handle, left);
        } else {
          ::Sleep(left);
        }
        return;
      }
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
}

DWORD ExitCodeOf(HANDLE process) {
  DWORD code = 0;
  return ::GetExitCodeProcess(process, &code) ? code : 0;
}

bool IsSignalled(HANDLE handle) {
  return ::WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
}

// Waits for one program alone, where it could not be put in a job.
platform::TrackedRun FollowProcess(HANDLE process, std::uint32_t bound_ms) {
  const ULONGLONG end = ::GetTickCount64() + bound_ms;
  for (ULONGLONG now = ::GetTickCount64(); now < end && !IsSignalled(process);
       now = ::GetTickCount64()) {
    WaitHandlingMessages(process, static_cast<DWORD>(end - now));
  }
  platform::TrackedRun run;
  run.ended = IsSignalled(process);
  if (run.ended) run.exit_code = ExitCodeOf(process);
  return run;
}

// A job that lets its programs break away, with a completion port that says which programs
// join it and end.
class Job {
 public:
  Job() {
    UniqueKernelHandle job(::CreateJobObjectW(nullptr, nullptr));
    if (!job) return;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_BREAKAWAY_OK;
    if (!::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                   sizeof(limits))) {
      return;
    }
    UniqueKernelHandle port(::CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1));
    if (!port) return;
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT association{};
    association.CompletionKey = reinterpret_cast<PVOID>(kJobKey);
    association.CompletionPort = port.get();
    if (!::SetInformationJobObject(job.get(), JobObjectAssociateCompletionPortInformation,
                                   &association, sizeof(association))) {
      return;
    }
    job_ = std::move(job);
    port_ = std::move(port);
  }

  // Puts the started program in the job; false when it cannot be (no job, or Windows 7, which
  // has no job within a job for a program started from one).
  bool Adopt(HANDLE process, DWORD process_id) {
    if (!job_ || !::AssignProcessToJobObject(job_.get(), process)) return false;
    first_ = process;
    Follow(process_id);
    return true;
  }

  platform::TrackedRun Wait(std::uint32_t bound_ms) {
    const ULONGLONG end = ::GetTickCount64() + bound_ms;
    bool empty = Empty();
    for (ULONGLONG now = ::GetTickCount64(); now < end && !empty; now = ::GetTickCount64()) {
      WaitHandlingMessages(nullptr, std::min<DWORD>(kJobPollMs, static_cast<DWORD>(end - now)));
      empty = Empty();
    }
    platform::TrackedRun run;
    run.ended = empty;
    if (!empty) return run;
    // Without any exit reported, the first program's code is all there is.
    run.exit_code = last_exit_ ? *last_exit_ : ExitCodeOf(first_);
    return run;
  }

 private:
  // Takes the messages waiting at the port; true once the job has said it is empty.
  void Drain() {
    DWORD message = 0;
    ULONG_PTR key = 0;
    LPOVERLAPPED data = nullptr;
    while (::GetQueuedCompletionStatus(port_.get(), &message, &key, &data, 0)) {
      if (key != kJobKey) continue;
      const auto process_id = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(data));
      switch (message) {
        case JOB_OBJECT_MSG_NEW_PROCESS:
          Follow(process_id);
          break;
        case JOB_OBJECT_MSG_EXIT_PROCESS:
        case JOB_OBJECT_MSG_ABNORMAL_EXIT_PROCESS:
          Ended(process_id);
          break;
        case JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO:
          said_empty_ = true;
          break;
        default:
          break;
      }
    }
  }

  bool Empty() {
    Drain();
    if (said_empty_) return true;
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION counts{};
    if (!::QueryInformationJobObject(job_.get(), JobObjectBasicAccountingInformation, &counts,
                                     sizeof(counts), nullptr)) {
      return false;
    }
    if (counts.ActiveProcesses != 0) return false;
    Drain();  // the exits reported meanwhile
    return true;
  }

  // A program that joins the job is held open, so that its exit code can still be read once
  // it has ended; one that has ended before it was seen is missed.
  void Follow(DWORD process_id) {
    if (processes_.contains(process_id)) return;
    UniqueKernelHandle process(::OpenProcess(kFollowAccess, FALSE, process_id));
    if (process) processes_.emplace(process_id, std::move(process));
  }

  void Ended(DWORD process_id) {
    const auto found = processes_.find(process_id);
    if (found == processes_.end()) return;
    last_exit_ = ExitCodeOf(found->second.get());
    processes_.erase(found);
  }

  UniqueKernelHandle job_;
  UniqueKernelHandle port_;
  HANDLE first_ = nullptr;  // owned by the caller
  std::map<DWORD, UniqueKernelHandle> processes_;
  std::optional<DWORD> last_exit_;
  bool said_empty_ = false;
};

// Started through the shell, which asks the user for administrator rights: the elevated program
// is outside any job of this one, and is waited for alone.
platform::TrackedRun RunElevated(const platform::TrackedStart& start) {
  const std::wstring file = Utf8ToWide(start.process.application);
  const std::wstring parameters = Utf8ToWide(start.arguments);
  const std::wstring directory = Utf8ToWide(start.process.directory);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = L"runas";
  info.lpFile = file.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
  info.nShow = start.process.show;
  platform::TrackedRun run;
  if (Shell().execute_ex == nullptr) {
    run.error = ERROR_MOD_NOT_FOUND;
    return run;
  }
  if (!Shell().execute_ex(&info)) {
    run.error = ::GetLastError();
    return run;
  }
  const UniqueKernelHandle process(info.hProcess);
  // Nothing to wait for: whether it worked is left to the entry's going.
  if (!process) {
    run.ended = true;
    return run;
  }
  return FollowProcess(process.get(), start.bound_ms);
}

}  // namespace

platform::TrackedRun Launcher::RunTracked(const platform::TrackedStart& start) {
  const std::wstring application = Utf8ToWide(start.process.application);
  const std::wstring directory = Utf8ToWide(start.process.directory);
  std::wstring writable = Utf8ToWide(start.process.command_line);
  writable.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(start.process.show);
  PROCESS_INFORMATION started{};
  // The job is made first, so that the program is in it before it runs one instruction.
  Job job;
  if (!::CreateProcessW(application.empty() ? nullptr : application.c_str(), writable.data(),
                        nullptr, nullptr, FALSE, CREATE_SUSPENDED | CREATE_DEFAULT_ERROR_MODE,
                        nullptr, directory.empty() ? nullptr : directory.c_str(), &startup,
                        &started)) {
    const DWORD error = ::GetLastError();
    if (error == platform::kErrorElevationRequired) return RunElevated(start);
    return platform::TrackedRun{error, false, 0};
  }
  const UniqueKernelHandle process(started.hProcess);
  const UniqueKernelHandle thread(started.hThread);
  const bool in_job = job.Adopt(process.get(), started.dwProcessId);
  ::ResumeThread(thread.get());
  return in_job ? job.Wait(start.bound_ms) : FollowProcess(process.get(), start.bound_ms);
}

void Launcher::Pause(std::uint32_t ms) {
  WaitHandlingMessages(nullptr, ms);
}

bool Launcher::Elevated() {
  HANDLE token_handle = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token_handle)) return false;
  const UniqueKernelHandle token(token_handle);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  if (!::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size)) {
    return false;
  }
  return elevation.TokenIsElevated != 0;
}

}  // namespace win32
