#pragma once

#include "app/options.h"
#include "platform/windowing.h"

namespace app {

// What one run of the program keeps between its events. One instance lives for one run.
struct ProgramState {
  bool AutoCloseArmed = false;  // a tick of the auto-close timer may close the program
  bool Activating = false;      // the start-up build is running
  platform::Point PopupPoint;   // where the menu pops up
  Options options;              // what the catalogue lists
};

}  // namespace app
