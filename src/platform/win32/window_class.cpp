#include "platform/win32/window_class.h"

#include <exception>
#include <utility>

#include "platform/win32/check_list.h"
#include "platform/win32/handles.h"
#include "platform/win32/ids.h"
#include "platform/win32/menu_keys.h"

namespace win32 {
namespace {

constexpr wchar_t kClassName[] = L"TapwiseWindow";

thread_local std::exception_ptr pending_failure;

void KeepFailure(std::exception_ptr failure) {
  if (!pending_failure) pending_failure = std::move(failure);
}

platform::WindowHandler* HandlerOf(HWND window) {
  return reinterpret_cast<platform::WindowHandler*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT id, WPARAM wparam, LPARAM lparam) {
  // The handler arrives with WM_NCCREATE; the few messages before it, and WM_NCCREATE itself,
  // get the default treatment.
  if (id == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    return ::DefWindowProcW(window, id, wparam, lparam);
  }
  platform::WindowHandler* handler = HandlerOf(window);
  if (handler == nullptr) return ::DefWindowProcW(window, id, wparam, lparam);
  // The last message a window gets: the handler hears nothing after it.
  if (id == WM_NCDESTROY) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  // The platform's own reselection, never a key the user typed.
  if (id == WM_MENUCHAR) {
    if (const auto answer = AnswerReselection(wparam, lparam)) return *answer;
  }
  // A check list's box-less rows stay so, whatever the form's handler would answer.
  if (id == WM_NOTIFY) {
    if (const auto refusal = RefuseBoxForBoxlessRow(lparam)) return *refusal;
  }
  try {
    return handler->HandleMessage(FromHwnd(window), id, wparam, lparam);
  } catch (...) {
    KeepFailure(std::current_exception());
    return 0;
  }
}

void Unregister(ATOM window_class) {
  ::UnregisterClassW(MAKEINTATOM(window_class), ::GetModuleHandleW(nullptr));
}
using UniqueWindowClass = platform::UniqueHandle<HandleTraits<ATOM, Unregister>>;

UniqueWindowClass Register() {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = WindowProcedure;
  window_class.hInstance = ::GetModuleHandleW(nullptr);
  window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  // Forms are dialogs and get the dialog face colour.
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  return UniqueWindowClass(::RegisterClassExW(&window_class));
}

}  // namespace

const wchar_t* OwnWindowClass() {
  // Registered for as long as the program runs.
  static const UniqueWindowClass registration = Register();
  return kClassName;
}

void RethrowHandlerFailure() {
  if (!pending_failure) return;
  std::rethrow_exception(std::exchange(pending_failure, nullptr));
}

}  // namespace win32
