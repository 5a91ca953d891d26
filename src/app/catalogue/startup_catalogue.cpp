#include "app/catalogue/startup_catalogue.h"

#include <condition_variable>
#include <exception>
#include <optional>
#include <utility>

#include "platform/mutex.h"

namespace app {

// What the job and the GUI thread share: how far the reading is, and what it gave.
struct StartupCatalogue::Reading {
  enum class Stage { kWaiting, kRunning, kDone, kTakenOver };

  platform::Mutex mutex;
  std::condition_variable_any done;
  Stage stage GUARDED_BY(mutex) = Stage::kWaiting;
  std::optional<Catalogue> found GUARDED_BY(mutex);
  std::exception_ptr failure GUARDED_BY(mutex);

  // On the job: false when the GUI thread has taken the reading over.
  bool Begin() {
    const platform::MutexLock lock(mutex);
    if (stage != Stage::kWaiting) return false;
    stage = Stage::kRunning;
    return true;
  }

  void End(std::optional<Catalogue> catalogue, std::exception_ptr failed) {
    const platform::MutexLock lock(mutex);
    found = std::move(catalogue);
    failure = std::move(failed);
    stage = Stage::kDone;
    done.notify_all();
  }
};

StartupCatalogue::StartupCatalogue(platform::Platform& platform,
                                   std::shared_ptr<RemoteDrives> drives, const Options& options)
    : platform_(platform),
      drives_(std::move(drives)),
      options_(options),
      passes_(UninstallPasses(platform.registry)),
      reading_(std::make_shared<Reading>()) {
  // The job gets the seams a worker may use, and owns what it shares with the GUI thread.
  job_ = platform.workers.Start(
      [reading = reading_, seams = ScanSeams(platform, *drives_), drives = drives_,
       passes = passes_, options = options_](std::stop_token) {
        if (!reading->Begin()) return;
        try {
          reading->End(ScanCatalogue(seams, passes, options), nullptr);
        } catch (...) {
          reading->End(std::nullopt, std::current_exception());
        }
      },
      platform::JobDelivery{}, platform::JobPriority::kNormal);
}

StartupCatalogue::~StartupCatalogue() {
  platform_.workers.Cancel(job_);
}

Catalogue StartupCatalogue::Take() {
  platform::MutexLock lock(reading_->mutex);
  if (reading_->stage == Reading::Stage::kWaiting) {
    reading_->stage = Reading::Stage::kTakenOver;
    lock.unlock();
    return ScanCatalogue(ScanSeams(platform_, *drives_), passes_, options_);
  }
  reading_->done.wait(lock, [this]() REQUIRES(reading_->mutex) {
    return reading_->stage == Reading::Stage::kDone;
  });
  if (reading_->failure) std::rethrow_exception(reading_->failure);
  return std::move(*reading_->found);
}

}  // namespace app
