#pragma once

// The elevated instance that reviews what an uninstall left behind for all users. It trusts
// nothing it is given: it reads the record itself, runs the finder again, and starts checked
// only what needs no trust in the record, a reference or shortcut to a file that is gone. What
// the user checks in its window is what it removes, into the store for everyone.

#include <string>

#include "platform/platform.h"

namespace app {

// The record is read and the finder run before any window shows; the review; the removal of
// what was checked; one box. The exit code: 0, or the usage error's.
int RunMachineReview(platform::Platform& platform, const std::string& record_folder);

}  // namespace app
