#pragma once

// The catalogue read from the moment the program starts, on the workers, while the GUI thread
// makes and shows the forms: the menu needs both, and neither need wait for the other. The GUI
// thread takes it when it builds the menus, waiting if the reading is still under way; should
// the job not even have begun by then, the GUI thread reads the catalogue itself.

#include <memory>

#include "app/catalogue/catalogue.h"
#include "app/entry/options.h"
#include "app/paths/registered_path.h"
#include "platform/platform.h"

namespace app {

class StartupCatalogue {
 public:
  // Starts reading every uninstall key with these options. drives: the run's one drive cache.
  StartupCatalogue(platform::Platform& platform, std::shared_ptr<RemoteDrives> drives,
                   const Options& options);
  // A job that has not begun never runs; one that runs finishes into nothing.
  ~StartupCatalogue();
  StartupCatalogue(const StartupCatalogue&) = delete;
  StartupCatalogue& operator=(const StartupCatalogue&) = delete;

  // What the passes found, unsorted; the reading's failure raised again. Once only.
  Catalogue Take();
  const std::shared_ptr<RemoteDrives>& Drives() const { return drives_; }

 private:
  struct Reading;

  platform::Platform& platform_;
  std::shared_ptr<RemoteDrives> drives_;
  const Options options_;
  const std::vector<ScanPass> passes_;
  std::shared_ptr<Reading> reading_;
  platform::JobId job_ = platform::kNoJob;
};

}  // namespace app
