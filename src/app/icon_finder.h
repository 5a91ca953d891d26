#pragma once

// Finding one icon through the platform's seams, on a worker: the rules of icon_source.h
// applied to real files, and the generic icon when no source gives one.

#include <string>

#include "app/program_entry.h"
#include "platform/icons.h"
#include "platform/raw_registry.h"

namespace app {

// An icon and the file it was read from, "PATH,index@size" (the path upper-cased), or
// "generic@size".
struct FoundIcon {
  std::string file_key;
  platform::UniqueIcon icon;
};

FoundIcon FindProgramIconFile(platform::Icons& icons, platform::RawRegistry& registry,
                              const ProgramEntry& program, int size);
// The icon of the image file of the first running process of that name.
FoundIcon FindProcessIconFile(platform::Icons& icons, const std::string& exe_name, int size);

}  // namespace app
