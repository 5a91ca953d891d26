#include "platform/sim/sim_background.h"

namespace sim {

void SerialBackground::Start(std::function<void()> job) {
  if (watch_) watch_();
  if (held_) {
    waiting_.push_back(std::move(job));
    return;
  }
  ++jobs_run_;
  job();
}

void SerialBackground::RunHeld() {
  while (!waiting_.empty()) {
    std::function<void()> job = std::move(waiting_.front());
    waiting_.pop_front();
    ++jobs_run_;
    job();
  }
}

}  // namespace sim
