#pragma once

// The two things that happen on the virtual clock by themselves: periodic window timers and
// the scripted user's timed actions.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

#include "platform/windowing.h"

namespace sim {

class TimerTable {
 public:
  // Shorter intervals are raised to this, as USER_TIMER_MINIMUM is on Windows.
  static constexpr std::uint32_t kMinimumIntervalMs = 10;

  // Creates or replaces (and so restarts) a timer: first due at now + interval.
  void Set(platform::WindowId window, platform::TimerId id, std::uint32_t interval_ms,
           std::int64_t now);
  void Kill(platform::WindowId window, platform::TimerId id);
  void KillAll(platform::WindowId window);
  std::optional<std::int64_t> NextDue() const;
  // The WM_TIMER of the earliest timer due at or before now (the older timer on a tie). The
  // timer moves on by whole periods to its first due time after now: a clock that skipped
  // several periods yields one tick, not a burst.
  std::optional<platform::Message> TakeDue(std::int64_t now);
  std::size_t Count() const { return timers_.size(); }

 private:
  struct Timer {
    std::uint32_t interval_ms = 0;
    std::int64_t due_ms = 0;
    std::uint64_t order = 0;
  };
  using Key = std::pair<platform::WindowId, platform::TimerId>;

  std::map<Key, Timer>::iterator Earliest();

  std::map<Key, Timer> timers_;
  std::uint64_t next_order_ = 0;
};

class ActionList {
 public:
  void Add(std::int64_t time_ms, std::function<void()> action);
  std::optional<std::int64_t> NextTime() const;
  // Runs every action due at or before now, in time order (equal times in the order added),
  // including those that the actions themselves add for times already reached.
  void RunDue(std::int64_t now);
  std::size_t Count() const { return actions_.size(); }

 private:
  std::multimap<std::int64_t, std::function<void()>> actions_;
};

}  // namespace sim
