#pragma once

// The real platform: one of each Win32 implementation, bound together as the program's seams.

#include "platform/platform.h"
#include "platform/thread_workers.h"
#include "platform/win32/file_dates.h"
#include "platform/win32/file_store.h"
#include "platform/win32/icons.h"
#include "platform/win32/launcher.h"
#include "platform/win32/process_snapshots.h"
#include "platform/win32/registry.h"
#include "platform/win32/standard_streams.h"
#include "platform/win32/text_order.h"
#include "platform/win32/thread_priority.h"
#include "platform/win32/windowing.h"

namespace win32 {

struct Win32Platform {
  Registry registry;
  FileDates files;
  ProcessSnapshots processes;
  Launcher launcher;
  Windowing windowing;
  TextOrder order;
  Icons icons;
  FileStore file_store;
  StandardStreams streams;
  // The last member: its threads end before the seams their jobs use go.
  platform::ThreadWorkers workers{SetCurrentThreadPriority};

  platform::Platform Bind() {
    return platform::Platform{.registry = registry,
                              .files = files,
                              .processes = processes,
                              .launcher = launcher,
                              .windowing = windowing,
                              .order = order,
                              .workers = workers,
                              .icons = icons,
                              .file_store = file_store,
                              .streams = streams};
  }
};

}  // namespace win32
