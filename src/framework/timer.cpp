#include "framework/timer.h"

#include <stdexcept>

#include "framework/application.h"

namespace framework {
namespace {

constexpr platform::TimerId kTimerId = 1;

}  // namespace

TTimer::TTimer(TApplication& app, std::uint32_t interval_ms)
    : app_(app), interval_ms_(interval_ms) {
  platform::WindowSpec desc;
  desc.kind = platform::WindowKind::kMessageOnly;
  const platform::WindowId id = app.Windowing().NewWindow(desc, this);
  if (id == platform::kNoWindow) throw std::runtime_error("Cannot create the timer window");
  window_ = UniqueWindow(app, id);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == Enabled()) return;
  if (!enabled) {
    running_.reset();
    return;
  }
  if (!app_.Windowing().SetTimer(window_.get(), kTimerId, interval_ms_)) {
    throw std::runtime_error("Not enough timers available");
  }
  running_ = Running(*this, kTimerId);
}

void TTimer::Kill(platform::TimerId id) noexcept {
  app_.Windowing().KillTimer(window_.get(), id);
}

platform::LResult TTimer::HandleMessage(platform::WindowId window, platform::MessageId id,
                                        platform::WParam wparam, platform::LParam lparam) {
  if (id != platform::kWmTimer || wparam != kTimerId || !Enabled()) {
    return app_.Windowing().DefaultProc(window, id, wparam, lparam);
  }
  return app_.Guarded([this] {
    if (OnTimer) OnTimer();
    return platform::LResult{0};
  });
}

}  // namespace framework
