#pragma once

#include <memory>

#include "platform/background.h"

namespace win32 {

// Two worker threads that take jobs in the order started. They are never joined: the program
// ends its process without waiting for them, and they never outlive the process's seams.
class Background : public platform::Background {
 public:
  static constexpr unsigned kThreads = 2;

  Background();
  ~Background() override;
  Background(const Background&) = delete;
  Background& operator=(const Background&) = delete;

  void Start(std::function<void()> job) override;

  // The jobs and their lock, shared with the threads.
  struct Queue;

 private:
  std::shared_ptr<Queue> queue_;
  unsigned started_ = 0;
};

}  // namespace win32
