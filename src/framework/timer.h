#pragma once

// A periodic timer. Enabling a running timer changes nothing: its period is not restarted.

#include <cstdint>
#include <functional>

#include "framework/owned.h"
#include "platform/windowing.h"

namespace framework {

class TApplication;

class TTimer : private platform::WindowHandler {
 public:
  TTimer(TApplication& app, std::uint32_t interval_ms);
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  // Throws when the platform grants no more timers.
  void SetEnabled(bool enabled);
  bool Enabled() const { return static_cast<bool>(running_); }

  std::function<void()> OnTimer;

 private:
  platform::LResult HandleMessage(platform::WindowId window, platform::MessageId id,
                                  platform::WParam wparam, platform::LParam lparam) override;

  // Stops the platform timer of that id on this timer's window.
  void Kill(platform::TimerId id) noexcept;
  using Running =
      platform::UniqueHandle<platform::BoundTraits<TTimer, platform::TimerId{0}, &TTimer::Kill>>;

  TApplication& app_;
  std::uint32_t interval_ms_;
  UniqueWindow window_;
  Running running_;  // after the window: the timer stops before its window goes
};

}  // namespace framework
