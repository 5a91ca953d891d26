#pragma once

// Shortcuts in the Start menus and on the desktops whose target is gone and lay in one of a
// removed program's folders. Only the shortcut is offered, never what it names.

#include <string>
#include <vector>

#include "app/leftovers/leftover_item.h"
#include "platform/platform.h"

namespace app {

// folders: the program's own folders, as normal paths (leftover_paths.h).
std::vector<LeftoverItem> FindShortcuts(platform::Platform& platform,
                                        const std::vector<std::string>& folders);

}  // namespace app
