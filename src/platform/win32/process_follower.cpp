// One program followed by its handle: one started through the shell, elevated or not, or one
// that could not be put in a job.

#include <utility>

#include "platform/win32/followers.h"
#include "platform/win32/message_waits.h"

namespace win32 {
namespace {

class ProcessFollower final : public platform::Followed {
 public:
  explicit ProcessFollower(UniqueKernelHandle process) : process_(std::move(process)) {}

  platform::RunOutcome Wait(std::uint32_t bound_ms, std::stop_token stop) override {
    const HANDLE process = process_.get();
    const auto ended = [process] { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; };
    if (!WaitHandlingMessagesUntil(ended, process, bound_ms, stop)) {
      return {platform::RunEnd::kRunning, 0};
    }
    return {platform::RunEnd::kEnded, ExitCodeOf(process)};
  }

 private:
  UniqueKernelHandle process_;
};

}  // namespace

std::unique_ptr<platform::Followed> FollowProcess(UniqueKernelHandle process) {
  return std::make_unique<ProcessFollower>(std::move(process));
}

}  // namespace win32
