#pragma once

// Runs pieces of work on threads of their own: a job started now, whose end is posted to a window
// of the GUI thread. Safe from any thread. The program uses them through the framework's jobs.
//
// A job may use the seams that say they are safe from any thread (the raw registry, file dates
// and the process table), through handles of its own, and data no other thread touches
// meanwhile. It never touches a window, a menu or the framework: those belong to the GUI thread,
// and the one way back to it is the message a started job posts when it has ended.

#include <cstdint>
#include <functional>
#include <stop_token>
#include <vector>

#include "platform/windowing.h"

namespace platform {

using JobId = std::uint64_t;
inline constexpr JobId kNoJob = 0;

// How a started job shares the machine. Background work (the menu's icons) yields to the GUI
// thread: the menu being sized and drawn must not wait for it. Waiting normal jobs begin before
// waiting background ones.
enum class JobPriority { kNormal, kBackground };

// Where a started job's end is told: message is posted to window, the job's id as wparam and 0
// as lparam.
struct JobDelivery {
  Windowing* windowing = nullptr;
  WindowId window = kNoWindow;
  MessageId message = kWmNull;
};

class Workers {
 public:
  virtual ~Workers() = default;
  // How many jobs the machine runs at once: its hardware threads, at least 1.
  virtual unsigned HardwareThreads() const = 0;
  // Starts work and returns at once. Once the work has ended, whether it finished, failed or
  // gave up on its stop request, the delivery's message is posted, unless the job was
  // cancelled first. Ids are never 0 and never used again.
  virtual JobId Start(std::function<void(std::stop_token)> work, const JobDelivery& delivery,
                      JobPriority priority) = 0;
  // Asks the job's work to stop. From the moment this returns the job's message is never
  // posted, and work that has not begun never runs. Nothing for a job that has ended.
  virtual void Cancel(JobId job) noexcept = 0;
};

}  // namespace platform
