#pragma once

// Where the copy of a removed entry goes: a folder of the user's own, and a file named by the
// program and the time, made safe to be a file name and short enough for the path to fit.

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_store.h"

namespace app {

// "<local app data>\Quillon\Tapwise Uninstaller\Removed entries"; empty without a folder.
std::string CopyFolder(const std::string& local_app_data);

// "<folder>\<name> <yyyy-mm-dd hh-mm-ss>.reg". Characters a file name may not hold become "_",
// a name that Windows would take for a device (file_names.h) gets a "_" before it, and the name is
// cut, never inside a character, until the path fits MAX_PATH. Empty when not even one character
// fits. A number past the first, for a second copy in the same second, follows the time:
// "<name> <time> (2).reg".
// Copies of one name made in the same second are numbered; past this many, something is amiss.
inline constexpr int kMaxCopyNumber = 100;

// A time as file names hold it, "yyyy-mm-dd hh-mm-ss", and " (n)" after it for a number past
// the first.
std::string TimeInFileName(const platform::LocalTime& time, int number = 1);

// The first name TimeInFileName gives for now, numbered, that nothing in parent has yet; empty
// when parent is empty or every number is taken.
std::string FreeTimedName(platform::FileStore& files, const std::string& parent,
                          const platform::LocalTime& now);

// A new folder of its own in parent, named by the time, numbered past the first in a second: one
// that is there already belongs to another. Nothing when parent is empty or none can be made.
std::optional<std::string> NewTimedFolder(platform::FileStore& files, const std::string& parent,
                                          const platform::LocalTime& now);

// Whether the name is one that CopyFilePath could have given a copy: a ".reg" file's plain name,
// with nothing that could lead elsewhere (no folder, stream, device or "..").
bool IsPlainCopyName(std::string_view name);

std::string CopyFilePath(const std::string& folder, const std::string& display_name,
                         const platform::LocalTime& time, int number = 1);

}  // namespace app
