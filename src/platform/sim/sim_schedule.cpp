#include "platform/sim/sim_schedule.h"

#include <algorithm>

namespace sim {

void TimerTable::Set(platform::WindowId window, platform::TimerId id, std::uint32_t interval_ms,
                     std::int64_t now) {
  const std::uint32_t interval = std::max(interval_ms, kMinimumIntervalMs);
  timers_[{window, id}] = Timer{interval, now + interval, next_order_++};
}

void TimerTable::Kill(platform::WindowId window, platform::TimerId id) {
  timers_.erase({window, id});
}

void TimerTable::KillAll(platform::WindowId window) {
  std::erase_if(timers_, [window](const auto& entry) { return entry.first.first == window; });
}

std::map<TimerTable::Key, TimerTable::Timer>::iterator TimerTable::Earliest() {
  return std::min_element(timers_.begin(), timers_.end(), [](const auto& a, const auto& b) {
    if (a.second.due_ms != b.second.due_ms) return a.second.due_ms < b.second.due_ms;
    return a.second.order < b.second.order;
  });
}

std::optional<std::int64_t> TimerTable::NextDue() const {
  std::optional<std::int64_t> next;
  for (const auto& [key, timer] : timers_) {
    if (!next || timer.due_ms < *next) next = timer.due_ms;
  }
  return next;
}

std::optional<platform::Message> TimerTable::TakeDue(std::int64_t now) {
  const auto it = Earliest();
  if (it == timers_.end() || it->second.due_ms > now) return std::nullopt;
  Timer& timer = it->second;
  const std::int64_t periods_passed = (now - timer.due_ms) / timer.interval_ms + 1;
  timer.due_ms += periods_passed * timer.interval_ms;
  return platform::Message{it->first.first, platform::kWmTimer, it->first.second, 0};
}

void ActionList::Add(std::int64_t time_ms, std::function<void()> action) {
  actions_.emplace(time_ms, std::move(action));
}

std::optional<std::int64_t> ActionList::NextTime() const {
  if (actions_.empty()) return std::nullopt;
  return actions_.begin()->first;
}

void ActionList::RunDue(std::int64_t now) {
  while (!actions_.empty() && actions_.begin()->first <= now) {
    // Taken out before it runs, so that it may add actions of its own.
    std::function<void()> action = std::move(actions_.begin()->second);
    actions_.erase(actions_.begin());
    action();
  }
}

}  // namespace sim
