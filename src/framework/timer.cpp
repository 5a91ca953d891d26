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
  window_ = OwnedWindow(app, id);
}

TTimer::~TTimer() {
  SetEnabled(false);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  if (!enabled) {
    app_.Windowing().KillTimer(window_.get(), kTimerId);
    enabled_ = false;
    return;
  }
  if (!app_.Windowing().SetTimer(window_.get(), kTimerId, interval_ms_)) {
    throw std::runtime_error("Not enough timers available");
  }
  enabled_ = true;
}

platform::LResult TTimer::HandleMessage(platform::WindowId window, platform::MessageId id,
                                        platform::WParam wparam, platform::LParam lparam) {
  if (id != platform::kWmTimer || wparam != kTimerId || !enabled_) {
    return app_.Windowing().DefaultProc(window, id, wparam, lparam);
  }
  return app_.Guarded([this] {
    if (OnTimer) OnTimer();
    return platform::LResult{0};
  });
}

}  // namespace framework
