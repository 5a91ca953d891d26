#include "platform/win32/message_waits.h"

#include <algorithm>

namespace win32 {
namespace {

// How long a wait goes without looking whether it is done or asked to stop: some of what is
// waited for (a job's count of programs, a stop request) signals no handle.
constexpr DWORD kPollMs = 100;

}  // namespace

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

bool WaitHandlingMessagesUntil(const std::function<bool()>& done, HANDLE handle,
                               std::uint32_t bound_ms, const std::stop_token& stop) {
  const ULONGLONG end = ::GetTickCount64() + bound_ms;
  for (ULONGLONG now = ::GetTickCount64();; now = ::GetTickCount64()) {
    if (done()) return true;
    if (now >= end || stop.stop_requested()) return false;
    WaitHandlingMessages(handle, static_cast<DWORD>(std::min<ULONGLONG>(kPollMs, end - now)));
  }
}

}  // namespace win32
