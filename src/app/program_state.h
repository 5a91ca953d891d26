#pragma once

#include "platform/windowing.h"

namespace app {

// The run's three flags. One instance lives for one run of the program.
struct ProgramState {
  bool AutoCloseArmed = false;  // a tick of Timer1 may close the program
  bool Activating = false;      // the start-up build is running
  platform::Point PopupPoint;   // where the menu pops up
};

}  // namespace app
