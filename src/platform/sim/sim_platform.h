#pragma once

// One of each substitute, bound together as the platform the program runs on in tests.

#include "platform/platform.h"
#include "platform/sim/sim_file_store.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_icons.h"
#include "platform/sim/sim_launcher.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_streams.h"
#include "platform/sim/sim_text_order.h"
#include "platform/sim/sim_windowing.h"
#include "platform/sim/sim_workers.h"

namespace sim {

struct SimPlatform {
  SimPlatform() = default;
  SimPlatform(const SimPlatform&) = delete;
  SimPlatform& operator=(const SimPlatform&) = delete;

  platform::Platform Bind() {
    return platform::Platform{registry, files,   processes, launcher,   windows,
                              order,    workers, icons,     file_store, streams};
  }

  WindowSystem windows;
  Registry registry;
  FileTable files;
  ProcessTable processes;
  LaunchRecorder launcher{windows};
  CaselessOrder order;
  SerialWorkers workers;
  IconFiles icons{files};
  FileStore file_store;
  Streams streams;
};

}  // namespace sim
