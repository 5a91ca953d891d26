#pragma once

// What a start follows to its end (platform::Followed): one program by its handle, or a program
// with everything it starts, in a job. Both wait on the calling thread, handling its messages,
// and end nothing: what still runs when the wait is over is left running.

#include <windows.h>

#include <memory>

#include "platform/launcher.h"
#include "platform/win32/handles.h"

namespace win32 {

// What a program being followed may be asked: its exit code, and whether it has ended.
inline constexpr DWORD kFollowAccess = PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE;

inline DWORD ExitCodeOf(HANDLE process) {
  DWORD code = 0;
  return ::GetExitCodeProcess(process, &code) ? code : 0;
}

// Follows the one program.
std::unique_ptr<platform::Followed> FollowProcess(UniqueKernelHandle process);

// Puts a program started suspended in a job of its own and follows it with every program it
// starts; resume it afterwards. Where it cannot be put in a job, it is followed alone.
std::unique_ptr<platform::Followed> FollowInJob(UniqueKernelHandle process, DWORD process_id);

}  // namespace win32
