#include "platform/win32/ids.h"
#include "platform/win32/lookup.h"
#include "platform/win32/window_class.h"
#include "platform/win32/windowing.h"

namespace win32 {
namespace {

constexpr wchar_t kDialogFontFace[] = L"MS Sans Serif";

using DpiForWindowFn = UINT(WINAPI*)(HWND);
using DpiForSystemFn = UINT(WINAPI*)();

// Windows 10 1607 brought the DPI of a window; older systems have only the screen's.
struct DpiFunctions {
  DpiForWindowFn for_window = nullptr;
  DpiForSystemFn for_system = nullptr;
};

const DpiFunctions& Functions() {
  static const DpiFunctions functions = [] {
    const HMODULE user = ::GetModuleHandleW(L"user32.dll");
    return DpiFunctions{LookUp<DpiForWindowFn>(user, "GetDpiForWindow"),
                        LookUp<DpiForSystemFn>(user, "GetDpiForSystem")};
  }();
  return functions;
}

int ScreenDpi() {
  const UniqueScreenDc screen(::GetDC(nullptr));
  const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : platform::kDefaultDpi;
}

}  // namespace

int Windowing::Dpi(platform::WindowId window) {
  const DpiFunctions& functions = Functions();
  // 0 for a window that is not there: the system's DPI then.
  if (window != platform::kNoWindow && functions.for_window != nullptr) {
    if (const UINT dpi = functions.for_window(ToHwnd(window)); dpi != 0) {
      return static_cast<int>(dpi);
    }
  }
  if (functions.for_system != nullptr) {
    if (const UINT dpi = functions.for_system(); dpi != 0) return static_cast<int>(dpi);
  }
  return ScreenDpi();
}

HFONT Windowing::FontFor(int height) {
  UniqueFont& font = fonts_[height];
  if (font) return font.get();
  // A negative height asks for the character height, without the internal leading.
  font.reset(::CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, kDialogFontFace));
  return font.get();
}

void Windowing::SetFontHeight(platform::WindowId window, int height) {
  ::SendMessageW(ToHwnd(window), WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(height)), TRUE);
  RethrowHandlerFailure();
}

}  // namespace win32
