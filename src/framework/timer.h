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
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  // Throws when the platform grants no more timers.
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }

  std::function<void()> OnTimer;

 private:
  platform::LResult HandleMessage(platform::WindowId window, platform::MessageId id,
                                  platform::WParam wparam, platform::LParam lparam) override;

  TApplication& app_;
  std::uint32_t interval_ms_;
  OwnedWindow window_;
  bool enabled_ = false;
};

}  // namespace framework
