// Windows, activation and focus of the simulated window system.

#include <exception>

#include "platform/sim/sim_windowing.h"

namespace sim {
namespace {

using platform::WindowId;
using platform::WindowKind;

constexpr WindowId kFirstWindow = 0x1001;
constexpr platform::MenuId kFirstMenu = 0x5001;
constexpr platform::BitmapId kFirstBitmap = 0x7001;

// Show states that show a window without activating it.
constexpr int kSwShowNoActivate = 4;
constexpr int kSwMinimize = 6;
constexpr int kSwShowNa = 8;

bool IsTopLevel(WindowKind kind) {
  return kind == WindowKind::kApplication || kind == WindowKind::kForm;
}

bool Activates(int show) {
  return show != platform::kSwHideWindow && show != kSwShowNoActivate && show != kSwMinimize &&
         show != platform::kSwShowMinNoActive && show != kSwShowNa;
}

// Runs one step of a window's destruction, keeping the first failure raised.
template <typename Step>
void KeepFailure(std::exception_ptr& failure, Step&& step) {
  try {
    step();
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
}

}  // namespace

bool WindowSystem::IsControl(WindowKind kind) {
  return kind == WindowKind::kCheckBox || kind == WindowKind::kButton ||
         kind == WindowKind::kBevel || kind == WindowKind::kCheckList || kind == WindowKind::kLabel;
}

WindowSystem::WindowSystem()
    : next_window_(kFirstWindow), next_menu_(kFirstMenu), next_bitmap_(kFirstBitmap) {}
WindowSystem::~WindowSystem() = default;

WindowSystem::WindowState* WindowSystem::Find(WindowId window) {
  const auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : &it->second;
}

const WindowSystem::WindowState* WindowSystem::Find(WindowId window) const {
  const auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : &it->second;
}

WindowId WindowSystem::NewWindow(const platform::WindowSpec& desc,
                                 platform::WindowHandler* handler) {
  const WindowId id = next_window_++;
  WindowState* added = nullptr;
  {
    const platform::MutexLock lock(queue_mutex_);
    added = &windows_[id];
  }
  WindowState& state = *added;
  state.desc = desc;
  state.handler = handler;
  state.dpi = system_dpi_;
  // Controls are created visible; they show whenever their form does.
  state.visible = IsControl(desc.kind);
  return id;
}

void WindowSystem::DestroyWindow(WindowId window) {
  WindowState* state = Find(window);
  if (state == nullptr || state->destroying) return;
  state->destroying = true;
  state->visible = false;
  // As with the system's, the window goes whatever its handlers raise; the first failure is
  // raised once it has gone.
  std::exception_ptr failure;
  if (active_ == window) KeepFailure(failure, [&] { Deactivate(window); });
  DestroyRelated(window, true, failure);
  KeepFailure(failure, [&] { SendTo(window, platform::kWmDestroy, 0, 0); });
  DestroyRelated(window, false, failure);
  Forget(window);
  if (failure) std::rethrow_exception(failure);
}

void WindowSystem::DestroyRelated(WindowId window, bool owned, std::exception_ptr& failure) {
  std::vector<WindowId> related;
  for (const auto& [id, state] : windows_) {
    if (state.desc.parent == window && IsControl(state.desc.kind) != owned) related.push_back(id);
  }
  for (WindowId id : related) KeepFailure(failure, [&] { DestroyWindow(id); });
}

void WindowSystem::Forget(WindowId window) {
  timers_.KillAll(window);
  if (focus_ == window) focus_ = platform::kNoWindow;
  if (active_ == window) active_ = platform::kNoWindow;
  const platform::MutexLock lock(queue_mutex_);
  windows_.erase(window);
}

bool WindowSystem::ShowWindow(WindowId window, int show) {
  WindowState* state = Find(window);
  if (state == nullptr) return false;
  const bool was_visible = state->visible;
  state->last_show = show;
  if (show == platform::kSwHideWindow) {
    state->visible = false;
    if (active_ == window) Deactivate(window);
    return was_visible;
  }
  state->visible = true;
  if (IsTopLevel(state->desc.kind) && Activates(show)) Activate(window);
  return was_visible;
}

void WindowSystem::Activate(WindowId window) {
  if (active_ == window) return;
  const WindowId previous = active_;
  if (previous != platform::kNoWindow) {
    active_ = platform::kNoWindow;
    SendTo(previous, platform::kWmActivate, platform::kWaInactive,
           static_cast<platform::LParam>(window));
  }
  active_ = window;
  SendTo(window, platform::kWmActivate, platform::kWaActive,
         static_cast<platform::LParam>(previous));
  // The handler may have moved the activation on, destroyed the window, or put the focus on
  // one of its controls meanwhile.
  if (active_ == window && Find(window) != nullptr && !FocusWithin(window)) SetFocus(window);
}

bool WindowSystem::FocusWithin(WindowId window) const {
  const WindowState* focused = Find(focus_);
  return focus_ == window ||
         (focused != nullptr && focused->desc.parent == window && IsControl(focused->desc.kind));
}

void WindowSystem::Deactivate(WindowId window) {
  active_ = platform::kNoWindow;
  SendTo(window, platform::kWmActivate, platform::kWaInactive, 0);
  // The focus leaves with the activation when it was on the window or one of its controls.
  if (FocusWithin(window)) SetFocus(platform::kNoWindow);
}

void WindowSystem::SetFocus(WindowId window) {
  if (window != platform::kNoWindow && Find(window) == nullptr) return;
  if (window == focus_) return;
  const WindowId previous = focus_;
  focus_ = window;
  if (Find(previous) != nullptr) SendTo(previous, platform::kWmKillFocus, window, 0);
  if (window != platform::kNoWindow) {
    SendTo(window, platform::kWmSetFocus, previous, 0);
  }
}

platform::LResult WindowSystem::DefaultProc(WindowId window, platform::MessageId id,
                                            platform::WParam wparam, platform::LParam) {
  WindowState* state = Find(window);
  if (state == nullptr) return 0;
  if (id == platform::kWmSysKeyDown && wparam == platform::kVkF4) {
    PostTo(FormOf(window), platform::kWmSysCommand, platform::kScClose, 0);
    return 0;
  }
  if (IsControl(state->desc.kind)) return ControlProc(window, *state, id, wparam);
  if (id == platform::kWmSysCommand && (wparam & platform::kSysCommandMask) == platform::kScClose) {
    SendTo(window, platform::kWmClose, 0, 0);
  }
  return 0;
}

platform::LResult WindowSystem::SendTo(WindowId window, platform::MessageId id,
                                       platform::WParam wparam, platform::LParam lparam) {
  const WindowState* state = Find(window);
  if (state == nullptr) return 0;
  platform::WindowHandler* handler = state->handler;
  if (handler == nullptr) return DefaultProc(window, id, wparam, lparam);
  return handler->HandleMessage(window, id, wparam, lparam);
}

void WindowSystem::SetCaption(WindowId window, const std::string& caption) {
  if (WindowState* state = Find(window)) state->desc.caption = caption;
}

bool WindowSystem::EnableWindow(WindowId window, bool enable) {
  WindowState* state = Find(window);
  if (state == nullptr) return false;
  const bool was_disabled = !state->enabled;
  state->enabled = enable;
  return was_disabled;
}

bool WindowSystem::IsVisible(WindowId window) const {
  const WindowState* state = Find(window);
  return state != nullptr && state->visible;
}

bool WindowSystem::IsEnabled(WindowId window) const {
  const WindowState* state = Find(window);
  return state != nullptr && state->enabled;
}

int WindowSystem::LastShowState(WindowId window) const {
  const WindowState* state = Find(window);
  return state == nullptr ? -1 : state->last_show;
}

const platform::WindowSpec* WindowSystem::SpecOf(WindowId window) const {
  const WindowState* state = Find(window);
  return state == nullptr ? nullptr : &state->desc;
}

std::vector<WindowId> WindowSystem::Windows() const {
  std::vector<WindowId> ids;
  for (const auto& entry : windows_) ids.push_back(entry.first);
  return ids;
}

int WindowSystem::Dpi(WindowId window) {
  const WindowState* state = Find(window);
  if (state == nullptr) return system_dpi_;
  if (IsControl(state->desc.kind)) return Dpi(state->desc.parent);
  return state->dpi;
}

void WindowSystem::SetBounds(WindowId window, const platform::Rect& bounds) {
  WindowState* state = Find(window);
  if (state == nullptr) return;
  platform::WindowSpec& desc = state->desc;
  desc.left = bounds.left;
  desc.top = bounds.top;
  desc.width = bounds.right - bounds.left;
  desc.height = bounds.bottom - bounds.top;
  desc.centered = false;
}

void WindowSystem::SetFontHeight(WindowId window, int height) {
  if (WindowState* state = Find(window)) state->desc.font_height = height;
}

void WindowSystem::MoveToMonitor(WindowId window, int dpi, const platform::Rect& suggested) {
  WindowState* state = Find(window);
  if (state == nullptr) return;
  state->dpi = dpi;
  const auto word = static_cast<std::uint16_t>(dpi);
  const platform::WParam both_words = platform::MakeWParam(word, word);
  SendTo(window, platform::kWmDpiChanged, both_words,
         reinterpret_cast<platform::LParam>(&suggested));
}

bool WindowSystem::GetCursorPos(platform::Point& point) {
  if (cursor_read_fails_) return false;
  point = cursor_;
  return true;
}

}  // namespace sim
