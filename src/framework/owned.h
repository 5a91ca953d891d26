#pragma once

// Move-only owners of the window system's windows, menus and timers.

#include <utility>

#include "platform/windowing.h"

namespace framework {

template <typename Id, Id kNone, typename Release>
class Owned {
 public:
  Owned() = default;
  Owned(platform::Windowing& ws, Id id) : ws_(&ws), id_(id) {}
  ~Owned() { reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& o) noexcept : ws_(o.ws_), id_(std::exchange(o.id_, kNone)) {}
  Owned& operator=(Owned&& o) noexcept {
    if (this != &o) {
      reset();
      ws_ = o.ws_;
      id_ = std::exchange(o.id_, kNone);
    }
    return *this;
  }

  Id get() const { return id_; }
  explicit operator bool() const { return id_ != kNone; }
  Id release() { return std::exchange(id_, kNone); }
  void reset() {
    if (id_ != kNone) Release{}(*ws_, std::exchange(id_, kNone));
  }

 private:
  platform::Windowing* ws_ = nullptr;
  Id id_ = kNone;
};

struct DestroyWindowFn {
  void operator()(platform::Windowing& ws, platform::WindowId id) const { ws.DestroyWindow(id); }
};
struct DestroyMenuFn {
  void operator()(platform::Windowing& ws, platform::MenuId id) const { ws.DestroyMenu(id); }
};

using OwnedWindow = Owned<platform::WindowId, platform::kNoWindow, DestroyWindowFn>;
using OwnedMenu = Owned<platform::MenuId, platform::kNoMenu, DestroyMenuFn>;

}  // namespace framework
