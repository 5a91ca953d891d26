#pragma once

// The icons of the generated menu items: each item asks for its icon when it is made, which is
// when its submenu opens; the icon is looked for on a worker and shown when it arrives. Until
// then the item shows a blank of the same size. Equal requests share one search and one icon.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "app/entry/program_entry.h"
#include "app/icons/icon_jobs.h"
#include "framework/menu_images.h"
#include "platform/platform.h"

namespace app {

class MenuIcons {
 public:
  // The searches run as background jobs of jobs, whose batches end in TakeArrived. drives: the
  // run's one drive cache.
  MenuIcons(platform::Platform& platform, std::shared_ptr<RemoteDrives> drives,
            framework::TJobs& jobs);

  framework::TMenuImages& Images() { return images_; }
  // Before each pop-up: the size for menus at that DPI.
  void Prepare(int dpi) { images_.Prepare(dpi); }

  framework::ImageKey ForProgram(const ProgramEntry& program);
  framework::ImageKey ForProcess(const std::string& exe_name);

  // GUI thread, after a batch of the jobs: hands the icons that came to the images; returns
  // their keys.
  std::vector<framework::ImageKey> TakeArrived();
  // The end of the program: nothing more is looked for, and nothing waited for.
  void Cancel() { jobs_.Cancel(); }

 private:
  framework::ImageKey Request(const std::string& request, IconJobs::Find find);

  // Shared with the jobs, which may outlive this.
  std::shared_ptr<RemoteDrives> drives_;
  IconSeams seams_;
  std::shared_ptr<ReadIconFiles> read_ = std::make_shared<ReadIconFiles>();
  // Declared before the jobs: results still waiting at the end are destroyed first.
  framework::TMenuImages images_;
  IconJobs jobs_;
};

}  // namespace app
