// Following an uninstaller to its end. Many copy themselves to the temporary folder, start the
// copy and end at once, so the program started is followed with everything it starts: they run
// in a job object, and the run has ended when the job is empty. The job lets a program break
// away (some ask to, and fail without it) and never ends anything when it closes: what still
// runs after the bound is left running.

#include <map>
#include <optional>
#include <utility>

#include "platform/win32/followers.h"
#include "platform/win32/message_waits.h"

namespace win32 {
namespace {

constexpr ULONG_PTR kJobKey = 1;

// A job that lets its programs break away, with a completion port that says which programs
// join it and end.
class JobFollower final : public platform::Followed {
 public:
  JobFollower() {
    UniqueKernelHandle job(::CreateJobObjectW(nullptr, nullptr));
    if (!job) return;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_BREAKAWAY_OK;
    if (!::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                   sizeof(limits))) {
      return;
    }
    UniqueKernelHandle port(::CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1));
    if (!port) return;
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT association{};
    association.CompletionKey = reinterpret_cast<PVOID>(kJobKey);
    association.CompletionPort = port.get();
    if (!::SetInformationJobObject(job.get(), JobObjectAssociateCompletionPortInformation,
                                   &association, sizeof(association))) {
      return;
    }
    job_ = std::move(job);
    port_ = std::move(port);
  }

  // Puts the started program in the job and takes it over; false, leaving it with the caller,
  // when it cannot be (no job, or Windows 7, which has no job within a job for a program
  // started from one).
  bool Adopt(UniqueKernelHandle& process, DWORD process_id) {
    if (!job_ || !::AssignProcessToJobObject(job_.get(), process.get())) return false;
    first_ = std::move(process);
    Follow(process_id);
    return true;
  }

  platform::RunOutcome Wait(std::uint32_t bound_ms, std::stop_token stop) override {
    if (!WaitHandlingMessagesUntil([this] { return Empty(); }, nullptr, bound_ms, stop)) {
      return {platform::RunEnd::kRunning, 0};
    }
    // Without any exit reported, the first program's code is all there is.
    return {platform::RunEnd::kEnded, last_exit_ ? *last_exit_ : ExitCodeOf(first_.get())};
  }

 private:
  // Takes the messages waiting at the port.
  void Drain() {
    DWORD message = 0;
    ULONG_PTR key = 0;
    LPOVERLAPPED data = nullptr;
    while (::GetQueuedCompletionStatus(port_.get(), &message, &key, &data, 0)) {
      if (key != kJobKey) continue;
      const auto process_id = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(data));
      switch (message) {
        case JOB_OBJECT_MSG_NEW_PROCESS:
          Follow(process_id);
          break;
        case JOB_OBJECT_MSG_EXIT_PROCESS:
        case JOB_OBJECT_MSG_ABNORMAL_EXIT_PROCESS:
          Ended(process_id);
          break;
        case JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO:
          said_empty_ = true;
          break;
        default:
          break;
      }
    }
  }

  // Completion messages are not guaranteed: the job's count of programs is asked too.
  bool Empty() {
    Drain();
    if (said_empty_) return true;
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION counts{};
    if (!::QueryInformationJobObject(job_.get(), JobObjectBasicAccountingInformation, &counts,
                                     sizeof(counts), nullptr)) {
      return false;
    }
    if (counts.ActiveProcesses != 0) return false;
    Drain();  // the exits reported meanwhile
    return true;
  }

  // A program that joins the job is held open, so that its exit code can still be read once
  // it has ended; one that has ended before it was seen is missed.
  void Follow(DWORD process_id) {
    if (processes_.contains(process_id)) return;
    UniqueKernelHandle process(::OpenProcess(kFollowAccess, FALSE, process_id));
    if (process) processes_.emplace(process_id, std::move(process));
  }

  void Ended(DWORD process_id) {
    const auto found = processes_.find(process_id);
    if (found == processes_.end()) return;
    last_exit_ = ExitCodeOf(found->second.get());
    processes_.erase(found);
  }

  UniqueKernelHandle job_;
  UniqueKernelHandle port_;
  UniqueKernelHandle first_;
  std::map<DWORD, UniqueKernelHandle> processes_;
  std::optional<DWORD> last_exit_;
  bool said_empty_ = false;
};

}  // namespace

std::unique_ptr<platform::Followed> FollowInJob(UniqueKernelHandle process, DWORD process_id) {
  auto job = std::make_unique<JobFollower>();
  if (!job->Adopt(process, process_id)) return FollowProcess(std::move(process));
  return job;
}

}  // namespace win32
