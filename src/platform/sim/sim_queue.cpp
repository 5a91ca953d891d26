// The message queue, the timers and the virtual clock of the simulated window system.

#include <string>

#include "platform/sim/sim_windowing.h"

namespace sim {
namespace {

// A program that handles this many messages without time moving on never waits: a test
// would spin for ever, so the run is ended as a hang.
constexpr std::int64_t kMaxDeliveriesPerInstant = 100'000;

}  // namespace

bool WindowSystem::PostTo(platform::WindowId window, platform::MessageId id,
                          platform::WParam wparam, platform::LParam lparam) {
  const platform::MutexLock lock(queue_mutex_);
  // Window 0 is the thread's own queue, as PostMessage(NULL, ...) is.
  if (window != platform::kNoWindow && !windows_.contains(window)) return false;
  posted_.push_back(platform::Message{window, id, wparam, lparam});
  return true;
}

std::size_t WindowSystem::QueuedMessageCount() const {
  const platform::MutexLock lock(queue_mutex_);
  return posted_.size();
}

bool WindowSystem::TakePosted(platform::Message& message, bool quit_too) {
  {
    const platform::MutexLock lock(queue_mutex_);
    if (posted_.empty()) return false;
    if (!quit_too && posted_.front().id == platform::kWmQuit) return false;
    message = posted_.front();
    posted_.pop_front();
  }
  NoteModifiers(message);
  CountDelivery();
  return true;
}

void WindowSystem::PostQuit(int exit_code) {
  quit_pending_ = true;
  quit_code_ = exit_code;
}

bool WindowSystem::MessageReady() const {
  if (QueuedMessageCount() != 0 || quit_pending_) return true;
  const auto due = timers_.NextDue();
  return due && *due <= now_ms_;
}

bool WindowSystem::QuitIsNext() const {
  {
    const platform::MutexLock lock(queue_mutex_);
    if (!posted_.empty()) return posted_.front().id == platform::kWmQuit;
  }
  return quit_pending_;
}

bool WindowSystem::TakeOrdinary(platform::Message& message) {
  if (TakePosted(message, false)) return true;
  if (QuitIsNext()) return false;
  const auto tick = timers_.TakeDue(now_ms_);
  if (!tick) return false;
  message = *tick;
  CountDelivery();
  return true;
}

bool WindowSystem::PeekNext(platform::Message& message) {
  actions_.RunDue(now_ms_);
  if (TakePosted(message, true)) return true;
  if (quit_pending_) {
    quit_pending_ = false;
    message = platform::Message{platform::kNoWindow, platform::kWmQuit,
                                static_cast<platform::WParam>(quit_code_), 0};
    return true;
  }
  return TakeOrdinary(message);
}

void WindowSystem::WaitMessage() {
  actions_.RunDue(now_ms_);
  while (!MessageReady()) {
    std::optional<std::int64_t> next = timers_.NextDue();
    if (const auto action = actions_.NextTime(); action && (!next || *action < *next)) {
      next = action;
    }
    if (!next) throw Hang("the program waits for a message that nothing can send" + Situation());
    AdvanceTo(*next, "a message");
  }
}

platform::LResult WindowSystem::Dispatch(const platform::Message& message) {
  return SendTo(message.window, message.id, message.wparam, message.lparam);
}

bool WindowSystem::SetTimer(platform::WindowId window, platform::TimerId id,
                            std::uint32_t interval_ms) {
  if (timers_fail_ || Find(window) == nullptr) return false;
  timers_.Set(window, id, interval_ms, now_ms_);
  return true;
}

void WindowSystem::KillTimer(platform::WindowId window, platform::TimerId id) {
  timers_.Kill(window, id);
}

void WindowSystem::At(std::int64_t time_ms, std::function<void()> action) {
  actions_.Add(time_ms, std::move(action));
}

void WindowSystem::CountDelivery() {
  if (++deliveries_this_instant_ > kMaxDeliveriesPerInstant) {
    throw Hang("more than " + std::to_string(kMaxDeliveriesPerInstant) +
               " messages without time moving on" + Situation());
  }
}

void WindowSystem::AdvanceTo(std::int64_t time_ms, const char* waiting_for) {
  if (time_ms > time_limit_ms_) {
    throw Hang(std::string("waiting for ") + waiting_for + " beyond the time limit of " +
               std::to_string(time_limit_ms_) + " ms" + Situation());
  }
  if (time_ms > now_ms_) {
    now_ms_ = time_ms;
    deliveries_this_instant_ = 0;
  }
  actions_.RunDue(now_ms_);
}

std::string WindowSystem::Situation() const {
  return " (t=" + std::to_string(now_ms_) + " ms; timers " + std::to_string(timers_.Count()) +
         ", scripted actions " + std::to_string(actions_.Count()) + ", unused menu answers " +
         std::to_string(menu_answers_.size()) + ", unused box answers " +
         std::to_string(box_answers_.size()) + ")";
}

}  // namespace sim
