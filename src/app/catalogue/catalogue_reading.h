#pragma once

// The catalogue read by jobs, one for each range of the uninstall keys, started now. The GUI
// thread takes it whole when it needs it, range by range: a range already read at once, one
// being read once its job is done, one not begun by reading it itself. Or it is told when the
// last range is read, and takes it then without a wait.

#include <functional>
#include <memory>
#include <vector>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_scan.h"
#include "app/entry/options.h"
#include "app/paths/registered_path.h"
#include "framework/jobs.h"
#include "framework/take_or_wait.h"
#include "platform/platform.h"

namespace app {

class CatalogueReading {
 public:
  // Starts reading every uninstall key with these options. drives: the run's one drive cache,
  // shared with the jobs. read, when given, runs on the GUI thread once every range is read.
  CatalogueReading(framework::TJobs& jobs, platform::Platform& platform,
                   std::shared_ptr<RemoteDrives> drives, const Options& options,
                   std::function<void()> read = {});
  CatalogueReading(const CatalogueReading&) = delete;
  CatalogueReading& operator=(const CatalogueReading&) = delete;

  // What the passes found, unsorted, in pass order and then subkey order; a range's failure
  // raised again. Once only.
  Catalogue Take();
  // The same, as each entry was read: in pass order and then subkey order. Once only, instead
  // of Take.
  std::vector<ScannedProgram> TakeScanned();
  const std::shared_ptr<RemoteDrives>& Drives() const { return drives_; }

 private:
  using RangeRead = framework::TTakeOrWait<std::vector<ScannedProgram>>;

  void MakeWhatNoWorkerBegan();

  std::shared_ptr<RemoteDrives> drives_;
  std::vector<std::unique_ptr<RangeRead>> ranges_;  // in range order
  std::vector<std::size_t> order_;                  // the ranges' positions, largest first
  std::size_t left_ = 0;
  std::function<void()> read_;
};

}  // namespace app
