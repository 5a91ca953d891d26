#pragma once

#include "platform/file_dates.h"
#include "platform/file_store.h"
#include "platform/icons.h"
#include "platform/launcher.h"
#include "platform/process_snapshot.h"
#include "platform/raw_registry.h"
#include "platform/standard_streams.h"
#include "platform/text_order.h"
#include "platform/windowing.h"
#include "platform/workers.h"

namespace platform {

// Everything the program asks of the operating system, as one bundle of seams.
struct Platform {
  RawRegistry& registry;
  FileDates& files;
  ProcessSnapshots& processes;
  Launcher& launcher;
  Windowing& windowing;
  const TextOrder& order;
  Workers& workers;
  Icons& icons;
  FileStore& file_store;
  StandardStreams& streams;
};

}  // namespace platform
