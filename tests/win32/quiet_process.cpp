#include "quiet_process.h"

#include <condition_variable>
#include <mutex>

#include "platform/win32/handles.h"

namespace win32_test {

struct WorkerMeeting::State {
  std::mutex lock;
  std::condition_variable changed;
  unsigned meeting = 0;  // which meeting the jobs started now belong to
  std::vector<DWORD> arrived;
  unsigned left = 0;
  bool over = false;

  void Attend(unsigned job_meeting) {
    std::unique_lock hold(lock);
    if (job_meeting != meeting) return;  // one that came too late for its meeting
    arrived.push_back(::GetCurrentThreadId());
    changed.notify_all();
    changed.wait(hold, [&] { return over || job_meeting != meeting; });
    if (job_meeting != meeting) return;  // let go by the next meeting, which counts its own
    ++left;
    changed.notify_all();
  }
};

WorkerMeeting::WorkerMeeting() : state_(std::make_shared<State>()) {}

WorkerMeeting::~WorkerMeeting() {
  // Whoever is still held goes.
  const std::lock_guard hold(state_->lock);
  ++state_->meeting;
  state_->changed.notify_all();
}

std::optional<std::vector<DWORD>> WorkerMeeting::Hold(platform::Workers& workers, unsigned threads,
                                                      std::chrono::milliseconds limit,
                                                      platform::JobPriority priority) {
  State& state = *state_;
  unsigned meeting = 0;
  {
    const std::lock_guard hold(state.lock);
    meeting = ++state.meeting;
    state.changed.notify_all();  // lets go any worker still held by a failed meeting
    state.arrived.clear();
    state.left = 0;
    state.over = false;
  }
  // Told to no one when they end.
  for (unsigned i = 0; i < threads; ++i) {
    workers.Start([state = state_, meeting](std::stop_token) { state->Attend(meeting); },
                  platform::JobDelivery{}, priority);
  }
  std::unique_lock hold(state.lock);
  const bool met =
      state.changed.wait_for(hold, limit, [&] { return state.arrived.size() == threads; });
  state.over = true;
  state.changed.notify_all();
  if (!met) return std::nullopt;
  if (!state.changed.wait_for(hold, limit, [&] { return state.left == threads; })) {
    return std::nullopt;
  }
  return state.arrived;
}

bool WaitForThreadsToEnd(const std::vector<DWORD>& threads, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (const DWORD id : threads) {
    const win32::UniqueKernelHandle thread(::OpenThread(SYNCHRONIZE, FALSE, id));
    if (!thread) continue;  // already gone
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    if (::WaitForSingleObject(thread.get(), static_cast<DWORD>(left.count())) != WAIT_OBJECT_0) {
      return false;
    }
  }
  return true;
}

}  // namespace win32_test
