#pragma once

// The icon seam: the pictures of programs and processes, read from files that the program's
// rules chose. Every call may run on a worker thread; none touches a window or a menu. Icons
// handed out belong to the caller.

#include <string>

#include "platform/unique_handle.h"
#include "platform/windowing.h"

namespace platform {

class Icons {
 public:
  virtual ~Icons() = default;
  // The icon at that place of a program file (executable or library) at exactly size pixels; a
  // negative index names a resource id. kNoIcon when there is none, or when the file is not a
  // whole program image.
  virtual IconId ExtractIcon(const std::string& path, int index, int size) = 0;
  // An .ico file through the system's own loader, at exactly size pixels; kNoIcon on failure.
  virtual IconId LoadIconFile(const std::string& path, int size) = 0;
  // The system's generic program icon at size pixels, as a copy of the caller's own.
  virtual IconId GenericIcon(int size) = 0;
  virtual void DestroyIcon(IconId icon) noexcept = 0;
};

using UniqueIcon = UniqueHandle<BoundTraits<Icons, kNoIcon, &Icons::DestroyIcon>>;

}  // namespace platform
