#pragma once

#include "app/entry/options.h"
#include "app/menu/popup_states.h"
#include "platform/windowing.h"

namespace app {

// What one run of the program keeps between its events. One instance lives for one run.
struct ProgramState {
  CycleState cycle = CycleState::kStarting;  // where the popup cycle is
  platform::Point PopupPoint;                // where the menu pops up
  Options options;                           // what the catalogue lists
};

}  // namespace app
