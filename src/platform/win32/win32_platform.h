#pragma once

// The real platform: one of each Win32 implementation, bound together as the program's seams.

#include "platform/platform.h"
#include "platform/win32/background.h"
#include "platform/win32/file_dates.h"
#include "platform/win32/icons.h"
#include "platform/win32/launcher.h"
#include "platform/win32/process_snapshots.h"
#include "platform/win32/registry.h"
#include "platform/win32/text_order.h"
#include "platform/win32/windowing.h"
#include "platform/win32/workers.h"

namespace win32 {

struct Win32Platform {
  Registry registry;
  FileDates files;
  ProcessSnapshots processes;
  Launcher launcher;
  Windowing windowing;
  TextOrder order;
  Workers workers;
  Icons icons;
  Background background;

  platform::Platform Bind() {
    return platform::Platform{.registry = registry,
                              .files = files,
                              .processes = processes,
                              .launcher = launcher,
                              .windowing = windowing,
                              .order = order,
                              .workers = workers,
                              .icons = icons,
                              .background = background};
  }
};

}  // namespace win32
