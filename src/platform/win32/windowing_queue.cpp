#include "platform/win32/ids.h"
#include "platform/win32/window_class.h"
#include "platform/win32/windowing.h"

namespace win32 {
namespace {

MSG ToMsg(const platform::Message& message) {
  MSG msg{};
  msg.hwnd = ToHwnd(message.window);
  msg.message = message.id;
  msg.wParam = message.wparam;
  msg.lParam = message.lparam;
  // The seam's message carries no time or point; the queue still knows the last ones.
  msg.time = static_cast<DWORD>(::GetMessageTime());
  const DWORD position = ::GetMessagePos();
  msg.pt = POINT{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  return msg;
}

}  // namespace

bool Windowing::PostTo(platform::WindowId window, platform::MessageId id, platform::WParam wparam,
                       platform::LParam lparam) {
  return ::PostMessageW(ToHwnd(window), id, wparam, lparam) != FALSE;
}

void Windowing::PostQuit(int exit_code) {
  ::PostQuitMessage(exit_code);
}

bool Windowing::PeekNext(platform::Message& message) {
  MSG msg{};
  // Sent messages are delivered inside PeekMessageW. When one of their handlers failed and a
  // message was also taken, the failure waits for that message's Dispatch, so nothing is lost.
  if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    RethrowHandlerFailure();
    return false;
  }
  message = platform::Message{FromHwnd(msg.hwnd), msg.message, msg.wParam, msg.lParam};
  return true;
}

void Windowing::WaitMessage() {
  ::WaitMessage();
  RethrowHandlerFailure();
}

platform::LResult Windowing::Dispatch(const platform::Message& message) {
  const MSG msg = ToMsg(message);
  ::TranslateMessage(&msg);
  const LRESULT result = ::DispatchMessageW(&msg);
  RethrowHandlerFailure();
  return result;
}

bool Windowing::ShiftDown() {
  // The high bit is set while the key is down, as of the message being handled.
  return (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
}

std::int64_t Windowing::Now() const {
  return static_cast<std::int64_t>(::GetTickCount64());
}

bool Windowing::SetTimer(platform::WindowId window, platform::TimerId id,
                         std::uint32_t interval_ms) {
  return ::SetTimer(ToHwnd(window), id, interval_ms, nullptr) != 0;
}

void Windowing::KillTimer(platform::WindowId window, platform::TimerId id) {
  ::KillTimer(ToHwnd(window), id);
}

}  // namespace win32
