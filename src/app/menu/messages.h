#pragma once

// The program's own window messages.

#include "platform/windowing.h"

namespace app {

// Menu-loop notifications, sent by the popup list to the active form. The main form handles
// the closing (the auto-close timer) and the entering (the default submenu's icons).
inline constexpr platform::MessageId kCmMenuClosed = 0xB3E9;
inline constexpr platform::MessageId kCmEnterMenuLoop = 0xB3EA;

}  // namespace app
