#pragma once

// Finding one icon through the platform's seams, on a worker: the rules of icon_source.h
// applied to real files, and the generic icon when no source gives one.

#include <set>
#include <string>

#include "app/program_entry.h"
#include "platform/icons.h"
#include "platform/mutex.h"
#include "platform/raw_registry.h"

namespace app {

// An icon and the file it was read from, "PATH,index@size" (the path upper-cased), or
// "generic@size". No icon: the file's was found before, and is the one to show.
struct FoundIcon {
  std::string file_key;
  platform::UniqueIcon icon;
};

// The files whose icon some worker has read, shared by the workers: each is read once a run,
// however many programs name it.
class ReadIconFiles {
 public:
  bool Contains(const std::string& file_key) const;
  void Add(const std::string& file_key);

 private:
  mutable platform::Mutex lock_;
  std::set<std::string> files_ GUARDED_BY(lock_);
};

FoundIcon FindProgramIconFile(platform::Icons& icons, platform::RawRegistry& registry,
                              ReadIconFiles& read, const ProgramEntry& program, int size);
// The icon of the image file of the first running process of that name.
FoundIcon FindProcessIconFile(platform::Icons& icons, ReadIconFiles& read,
                              const std::string& exe_name, int size);

}  // namespace app
