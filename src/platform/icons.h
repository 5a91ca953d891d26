#pragma once

// The icon seam: where the pictures of programs and processes come from. Every call may run on a
// worker thread; none touches a window or a menu. Icons handed out belong to the caller.

#include <optional>
#include <string>

#include "platform/unique_handle.h"
#include "platform/windowing.h"

namespace platform {

class Icons {
 public:
  virtual ~Icons() = default;
  // The icon at that place of a program file (executable or library) at exactly size pixels; a
  // negative index names a resource id. kNoIcon when there is none, or when the file is not a
  // whole program image or anything on the way to the picture fails a check.
  virtual IconId ExtractIcon(const std::string& path, int index, int size) = 0;
  // An .ico file at exactly size pixels; kNoIcon when it fails a check.
  virtual IconId LoadIconFile(const std::string& path, int size) = 0;
  // The system's generic program icon at size pixels, as a copy of the caller's own.
  virtual IconId GenericIcon(int size) = 0;
  virtual void DestroyIcon(IconId icon) noexcept = 0;

  // Whether the path names a file that is neither a directory nor missing.
  virtual bool IsFile(const std::string& path) = 0;
  // Whether that drive letter is a network drive.
  virtual bool IsRemoteDrive(char letter) = 0;
  // The full path of the image file of the first running process of that file name; empty when
  // there is none or the process will not say (a protected one).
  virtual std::string ProcessImagePath(const std::string& exe_name) = 0;
  // An environment variable of this process; none when it is not set.
  virtual std::optional<std::string> Environment(const std::string& name) = 0;
  // The system folder as this process sees it, and whether the 64-bit one lies behind it
  // (a 32-bit process on 64-bit Windows, where "Sysnative" reaches it).
  virtual std::string SystemDirectory() = 0;
  virtual bool Is64BitSystem() = 0;
};

using UniqueIcon = UniqueHandle<BoundTraits<Icons, kNoIcon, &Icons::DestroyIcon>>;

}  // namespace platform
