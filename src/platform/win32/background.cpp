#include "platform/win32/background.h"

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace win32 {

struct Background::Queue {
  std::mutex lock;
  std::condition_variable ready;
  std::deque<std::function<void()>> jobs;
  bool closed = false;
};

namespace {

void Serve(const std::shared_ptr<Background::Queue>& queue) {
  // The GUI thread comes first: a menu being sized and drawn must not wait for icons.
  ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_LOWEST);
  while (true) {
    std::function<void()> job;
    {
      std::unique_lock hold(queue->lock);
      queue->ready.wait(hold, [&] { return queue->closed || !queue->jobs.empty(); });
      if (queue->closed) return;
      job = std::move(queue->jobs.front());
      queue->jobs.pop_front();
    }
    try {
      job();
    } catch (...) {
      // A job reports through its own results; one that fails costs itself alone.
    }
  }
}

}  // namespace

Background::Background() : queue_(std::make_shared<Queue>()) {}

Background::~Background() {
  const std::lock_guard hold(queue_->lock);
  queue_->closed = true;
  queue_->jobs.clear();
  queue_->ready.notify_all();
}

void Background::Start(std::function<void()> job) {
  {
    const std::lock_guard hold(queue_->lock);
    queue_->jobs.push_back(std::move(job));
  }
  queue_->ready.notify_one();
  if (started_ >= kThreads) return;
  try {
    std::thread(Serve, queue_).detach();
    ++started_;
  } catch (const std::system_error&) {
    // No thread to be had now: the jobs wait for the next start to try again.
  }
}

}  // namespace win32
