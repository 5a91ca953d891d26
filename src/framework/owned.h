#pragma once

// Owners of the window system's windows and menus: platform::UniqueHandle with closers that
// know the application they belong to.

#include "platform/unique_handle.h"
#include "platform/windowing.h"

namespace framework {

class TApplication;

template <typename Closer>
using Owned = platform::UniqueHandle<Closer>;

// Destroying a window runs its handlers. A failure they raise meanwhile goes to the
// application's error box, since an owner closes in destructors, where nothing may be raised.
struct WindowCloser {
  using Handle = platform::WindowId;
  static Handle Invalid() { return platform::kNoWindow; }
  TApplication* app = nullptr;
  WindowCloser() = default;
  WindowCloser(TApplication& application) : app(&application) {}
  void Close(Handle window) const noexcept;  // application.cpp
};

// Destroying a menu runs no handler, so it has nothing to raise.
struct MenuCloser {
  using Handle = platform::MenuId;
  static Handle Invalid() { return platform::kNoMenu; }
  platform::Windowing* ws = nullptr;
  MenuCloser() = default;
  MenuCloser(platform::Windowing& windowing) : ws(&windowing) {}
  void Close(Handle menu) const noexcept { ws->DestroyMenu(menu); }
};

using OwnedWindow = Owned<WindowCloser>;
using OwnedMenu = Owned<MenuCloser>;

}  // namespace framework
