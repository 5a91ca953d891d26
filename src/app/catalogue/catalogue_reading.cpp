#include "app/catalogue/catalogue_reading.h"

#include <utility>

namespace app {

CatalogueReading::CatalogueReading(framework::TJobs& jobs, platform::Platform& platform,
                                   std::shared_ptr<RemoteDrives> drives, const Options& options,
                                   std::function<void()> read)
    : drives_(std::move(drives)), read_(std::move(read)) {
  const std::vector<ScanRange> ranges =
      PlanRanges(platform.registry, UninstallPasses(platform.registry), kScanBudget);
  ranges_.resize(ranges.size());
  left_ = ranges.size();
  // The jobs begin in the order started: the largest ranges first.
  order_ = LargestFirst(ranges);
  for (std::size_t i : order_) {
    ranges_[i] = std::make_unique<RangeRead>(
        jobs,
        // Each job owns what it shares: the drive cache and the range's own copies.
        [seams = ScanSeams(platform, *drives_), drives = drives_, range = ranges[i],
         options](std::stop_token) { return ReadRange(seams, range, options); },
        [this] {
          if (--left_ == 0 && read_) read_();
        });
  }
  if (ranges.empty() && read_) read_();
}

Catalogue CatalogueReading::Take() {
  MakeWhatNoWorkerBegan();
  Catalogue catalogue;
  for (const auto& range : ranges_) {
    for (ScannedProgram& scanned : range->Take()) AddToCatalogue(catalogue, std::move(scanned));
  }
  return catalogue;
}

std::vector<ScannedProgram> CatalogueReading::TakeScanned() {
  MakeWhatNoWorkerBegan();
  std::vector<ScannedProgram> all;
  for (const auto& range : ranges_) {
    std::vector<ScannedProgram> read = range->Take();
    all.insert(all.end(), std::make_move_iterator(read.begin()),
               std::make_move_iterator(read.end()));
  }
  return all;
}

void CatalogueReading::MakeWhatNoWorkerBegan() {
  // The taking thread reads what no worker has begun, largest first, before it waits for any.
  for (std::size_t i : order_) ranges_[i]->MakeUnlessBegun();
}

}  // namespace app
