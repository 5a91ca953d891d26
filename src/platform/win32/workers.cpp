#include "platform/win32/workers.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>

namespace win32 {
namespace {

// Runs the job, keeping its failure for the caller instead of ending the process.
void RunKeeping(const std::function<void()>& job, std::exception_ptr& failure) {
  try {
    job();
  } catch (...) {
    failure = std::current_exception();
  }
}

}  // namespace

unsigned Workers::HardwareThreads() const {
  return std::max(1u, std::thread::hardware_concurrency());
}

void Workers::RunAll(const std::vector<std::function<void()>>& jobs) {
  std::vector<std::exception_ptr> failures(jobs.size());
  {
    std::vector<std::jthread> threads;
    threads.reserve(jobs.size());
    for (std::size_t i = 1; i < jobs.size(); ++i) {
      try {
        threads.emplace_back(RunKeeping, std::cref(jobs[i]), std::ref(failures[i]));
      } catch (const std::system_error&) {
        // No thread to be had: the job still runs, here, only later.
        RunKeeping(jobs[i], failures[i]);
      }
    }
    if (!jobs.empty()) RunKeeping(jobs[0], failures[0]);
  }  // every thread joins here
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
}

}  // namespace win32
