#pragma once

// Finding one icon through the platform's seams, on a worker: the rules of icon_source.h
// applied to real files, and the generic icon when no source gives one.

#include <set>
#include <string>

#include "app/entry/program_entry.h"
#include "app/paths/registered_path.h"
#include "platform/icons.h"
#include "platform/mutex.h"
#include "platform/process_snapshot.h"
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

// The seams an icon is found through, each safe from any thread.
struct IconSeams {
  platform::Icons& icons;                 // the pictures
  platform::RawRegistry& registry;        // entries' icon values, Installer products' icons
  platform::ProcessSnapshots& processes;  // processes' image files
  PathSystem paths;                       // what registered paths resolve against
  RemoteDrives& drives;                   // the run's one drive cache
};

// A program's icon; its "DisplayIcon" is read from its key when the scan did not read it.
FoundIcon FindProgramIconFile(const IconSeams& seams, ReadIconFiles& read, ProgramEntry program,
                              int size);
// The icon of the image file of the first running process of that name.
FoundIcon FindProcessIconFile(const IconSeams& seams, ReadIconFiles& read,
                              const std::string& exe_name, int size);

}  // namespace app
