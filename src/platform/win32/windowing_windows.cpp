#include <windows.h>
// commctrl.h needs the definitions of windows.h first.
#include <commctrl.h>

#include "platform/win32/check_list.h"
#include "platform/win32/ids.h"
#include "platform/win32/utf.h"
#include "platform/win32/window_class.h"
#include "platform/win32/windowing.h"

namespace win32 {
namespace {

using platform::WindowKind;
using platform::WindowSpec;

// SS_ETCHEDHORZ draws its line along the top of the control, two pixels high.
constexpr int kEtchedLineHeight = 2;
constexpr int kClassNameLength = 16;

constexpr DWORD kApplicationStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFormStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
constexpr DWORD kControlStyle = WS_CHILD | WS_VISIBLE;
// The rows keep the order they were added in: the column headers are captions, not buttons.
constexpr DWORD kCheckListStyle =
    LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_TABSTOP | WS_BORDER;

// Position and size, as CreateWindowExW takes them.
struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Everything CreateWindowExW needs besides the caption and the handler.
struct Creation {
  DWORD ex_style = 0;
  const wchar_t* class_name = nullptr;
  DWORD style = 0;
  Bounds bounds;
  HWND parent = nullptr;
  HMENU control_id = nullptr;
  bool own_class = true;
};

// Never shown: it exists to own popup menus and timers, which a message-only window cannot.
Creation MessageOnly(const WindowSpec& desc) {
  return Creation{.ex_style = WS_EX_TOOLWINDOW | desc.ex_style,
                  .class_name = OwnWindowClass(),
                  .style = WS_POPUP | desc.style,
                  .bounds = {},
                  .parent = ToHwnd(desc.parent)};
}

Creation Application(const WindowSpec& desc) {
  const int centre_x = ::GetSystemMetrics(SM_CXSCREEN) / 2;
  const int centre_y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
  return Creation{.ex_style = desc.ex_style,
                  .class_name = OwnWindowClass(),
                  .style = kApplicationStyle | desc.style,
                  .bounds = {centre_x, centre_y, 0, 0}};
}

// The description gives the client size; the window is as much larger as its frame needs.
Creation Form(const WindowSpec& desc) {
  const DWORD style = kFormStyle | desc.style;
  RECT frame{0, 0, desc.width, desc.height};
  ::AdjustWindowRectEx(&frame, style, FALSE, desc.ex_style);
  Bounds bounds{desc.left, desc.top, frame.right - frame.left, frame.bottom - frame.top};
  if (desc.centered) {
    bounds.left = (::GetSystemMetrics(SM_CXSCREEN) - bounds.width) / 2;
    bounds.top = (::GetSystemMetrics(SM_CYSCREEN) - bounds.height) / 2;
  }
  return Creation{.ex_style = desc.ex_style,
                  .class_name = OwnWindowClass(),
                  .style = style,
                  .bounds = bounds,
                  .parent = ToHwnd(desc.parent)};
}

Creation Control(const WindowSpec& desc, const wchar_t* class_name, DWORD style) {
  return Creation{.ex_style = desc.ex_style,
                  .class_name = class_name,
                  .style = kControlStyle | style | desc.style,
                  .bounds = {desc.left, desc.top, desc.width, desc.height},
                  .parent = ToHwnd(desc.parent),
                  .control_id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(desc.control_id)),
                  .own_class = false};
}

// A divider is an etched line along the bottom edge of the rectangle it is given.
Bounds AlongBottom(const Bounds& given) {
  return Bounds{given.left, given.top + given.height - kEtchedLineHeight, given.width,
                kEtchedLineHeight};
}

Creation Bevel(const WindowSpec& desc) {
  Creation creation = Control(desc, L"STATIC", SS_ETCHEDHORZ);
  creation.bounds = AlongBottom(creation.bounds);
  return creation;
}

bool IsEtchedLine(HWND window) {
  wchar_t class_name[kClassNameLength] = {};
  ::GetClassNameW(window, class_name, kClassNameLength);
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
  return ::lstrcmpiW(class_name, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ETCHEDHORZ;
}

bool Place(HWND window, const Bounds& bounds) {
  return ::SetWindowPos(window, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                        SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

Creation CreationFor(const WindowSpec& desc) {
  switch (desc.kind) {
    case WindowKind::kApplication:
      return Application(desc);
    case WindowKind::kForm:
      return Form(desc);
    case WindowKind::kCheckBox:
      return Control(desc, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP);
    case WindowKind::kButton:
      return Control(desc, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP);
    case WindowKind::kBevel:
      return Bevel(desc);
    case WindowKind::kCheckList:
      return Control(desc, CheckListClass(), kCheckListStyle);
    case WindowKind::kLabel:
      return Control(desc, L"STATIC", SS_LEFT | SS_NOPREFIX);
    case WindowKind::kMessageOnly:
      break;
  }
  return MessageOnly(desc);
}

}  // namespace

platform::WindowId Windowing::NewWindow(const WindowSpec& desc, platform::WindowHandler* handler) {
  const Creation creation = CreationFor(desc);
  UniqueWindow window(::CreateWindowExW(
      creation.ex_style, creation.class_name, Utf8ToWide(desc.caption).c_str(), creation.style,
      creation.bounds.left, creation.bounds.top, creation.bounds.width, creation.bounds.height,
      creation.parent, creation.control_id, ::GetModuleHandleW(nullptr),
      creation.own_class ? handler : nullptr));
  // A window whose creation handler failed is destroyed before the failure is raised.
  RethrowHandlerFailure();
  if (!window) return platform::kNoWindow;
  if (desc.kind == WindowKind::kCheckList) StyleCheckList(window.get());
  if (desc.font_height != 0) {
    ::SendMessageW(window.get(), WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(desc.font_height)),
                   FALSE);
  }
  // An etched static widens itself by its edge when created; the line keeps the asked width.
  if (desc.kind == WindowKind::kBevel) Place(window.get(), creation.bounds);
  return FromHwnd(window.release());
}

void Windowing::SetBounds(platform::WindowId window, const platform::Rect& bounds) {
  const HWND target = ToHwnd(window);
  const Bounds asked{bounds.left, bounds.top, bounds.right - bounds.left,
                     bounds.bottom - bounds.top};
  Place(target, IsEtchedLine(target) ? AlongBottom(asked) : asked);
  RethrowHandlerFailure();
}

void Windowing::DestroyWindow(platform::WindowId window) {
  ::DestroyWindow(ToHwnd(window));
  RethrowHandlerFailure();
}

bool Windowing::ShowWindow(platform::WindowId window, int show) {
  const bool was_visible = ::ShowWindow(ToHwnd(window), show) != FALSE;
  RethrowHandlerFailure();
  return was_visible;
}

platform::LResult Windowing::DefaultProc(platform::WindowId window, platform::MessageId id,
                                         platform::WParam wparam, platform::LParam lparam) {
  return ::DefWindowProcW(ToHwnd(window), id, wparam, lparam);
}

platform::LResult Windowing::SendTo(platform::WindowId window, platform::MessageId id,
                                    platform::WParam wparam, platform::LParam lparam) {
  const LRESULT result = ::SendMessageW(ToHwnd(window), id, wparam, lparam);
  RethrowHandlerFailure();
  return result;
}

void Windowing::SetCaption(platform::WindowId window, const std::string& caption) {
  ::SetWindowTextW(ToHwnd(window), Utf8ToWide(caption).c_str());
  RethrowHandlerFailure();
}

bool Windowing::EnableWindow(platform::WindowId window, bool enable) {
  const bool was_disabled = ::EnableWindow(ToHwnd(window), enable ? TRUE : FALSE) != FALSE;
  RethrowHandlerFailure();
  return was_disabled;
}

void Windowing::SetFocus(platform::WindowId window) {
  ::SetFocus(ToHwnd(window));
  RethrowHandlerFailure();
}

platform::WindowId Windowing::GetFocus() {
  return FromHwnd(::GetFocus());
}

bool Windowing::GetCursorPos(platform::Point& point) {
  POINT cursor{};
  if (!::GetCursorPos(&cursor)) return false;
  point = platform::Point{cursor.x, cursor.y};
  return true;
}

int Windowing::ShowMessageBox(platform::WindowId owner, const std::string& text,
                              const std::string& caption, std::uint32_t style) {
  const int pressed =
      ::MessageBoxW(ToHwnd(owner), Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), style);
  RethrowHandlerFailure();
  return pressed;
}

int Windowing::StartupShowState() {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  ::GetStartupInfoW(&startup);
  if ((startup.dwFlags & STARTF_USESHOWWINDOW) == 0) return SW_SHOWNORMAL;
  return startup.wShowWindow;
}

}  // namespace win32
