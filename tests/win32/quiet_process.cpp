#include "quiet_process.h"

#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/win32/handles.h"

namespace win32_test {

std::optional<std::vector<DWORD>> WaitForIdleWorkers(platform::Background& background,
                                                     unsigned workers,
                                                     std::chrono::milliseconds limit) {
  struct Meeting {
    std::mutex lock;
    std::condition_variable changed;
    std::vector<DWORD> arrived;
    bool over = false;
  };
  // Shared with the jobs, which may still be on their way out when this returns.
  const auto meeting = std::make_shared<Meeting>();
  for (unsigned i = 0; i < workers; ++i) {
    background.Start([meeting] {
      std::unique_lock hold(meeting->lock);
      meeting->arrived.push_back(::GetCurrentThreadId());
      meeting->changed.notify_all();
      meeting->changed.wait(hold, [&] { return meeting->over; });
    });
  }
  std::unique_lock hold(meeting->lock);
  const bool met =
      meeting->changed.wait_for(hold, limit, [&] { return meeting->arrived.size() == workers; });
  meeting->over = true;
  meeting->changed.notify_all();
  if (!met) return std::nullopt;
  return meeting->arrived;
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
