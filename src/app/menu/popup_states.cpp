#include "app/menu/popup_states.h"

namespace app {
namespace {

using State = CycleState;
using Do = CycleAction;

CycleStep Stay(State state) {
  return {state, Do::kNone};
}

// The start-up: once per run, whatever activates the form again later.
CycleStep OnStartup(State state, CycleEvent event) {
  switch (event) {
    case CycleEvent::kActivated:
      if (state != State::kStarting) return Stay(state);
      return {State::kBuilding, Do::kHideWindows | Do::kBuild};
    case CycleEvent::kStillInstalled:
      // The question holds the auto-close: it may stay open for any length of time.
      if (state != State::kBuilding) return Stay(state);
      return {State::kAsking, Do::kStopTimer | Do::kAsk};
    case CycleEvent::kAnsweredYes:
      // The tools page instead of the menu.
      if (state != State::kAsking) return Stay(state);
      return {State::kClosing, Do::kOpenToolsPage | Do::kEnd};
    case CycleEvent::kAnsweredNo:
      if (state != State::kAsking) return Stay(state);
      return {State::kMenuShown, Do::kPopup};
    case CycleEvent::kBuilt:
      if (state == State::kBuilding) return {State::kMenuShown, Do::kPopup};
      return Stay(state);
    default:
      return Stay(state);
  }
}

}  // namespace

bool AutoCloseArmed(CycleState state) {
  switch (state) {
    case State::kStarting:
    case State::kAsking:
    case State::kWindowShown:
    case State::kNotice:
    case State::kRunning:
    case State::kRebuilding:
      return false;
    default:
      // Closing too: should the end fail on one tick, the next tries again.
      return true;
  }
}

bool InStartupBuild(CycleState state) {
  return state == State::kBuilding || state == State::kAsking;
}

CycleStep NextStep(CycleState state, CycleEvent event) {
  if (event == CycleEvent::kTick) {
    if (!AutoCloseArmed(state)) return Stay(state);
    return {State::kClosing, Do::kEnd};
  }
  // Once the end is asked for, nothing but the end follows.
  if (state == State::kClosing) return Stay(state);
  switch (event) {
    case CycleEvent::kFailed:
      // Without a menu nothing could ever end the program.
    case CycleEvent::kEndAsked:
      return {State::kClosing, Do::kEnd};
    case CycleEvent::kMenuClosed:
      // The first tick comes one period after the menu closed; a chosen command runs before it.
      return {state == State::kMenuShown ? State::kWaiting : state, Do::kStartTimer};
    case CycleEvent::kWindowOpening:
      return {State::kWindowShown, Do::kNone};
    case CycleEvent::kWindowClosed:
      // The options' window closes before the list they asked for is read: the menu waits.
      if (state == State::kRebuilding) return Stay(state);
      // No tick while the menu is up.
      return {State::kMenuShown, Do::kStopTimer | Do::kPopup};
    case CycleEvent::kRebuildStarted:
      return {State::kRebuilding, Do::kStopTimer};
    case CycleEvent::kRebuilt:
      if (state != State::kRebuilding) return Stay(state);
      return {State::kMenuShown, Do::kStopTimer | Do::kPopup};
    case CycleEvent::kNoticeOpening:
      return {State::kNotice, Do::kNone};
    case CycleEvent::kActionStarted:
      return {State::kRunning, Do::kStopTimer};
    case CycleEvent::kActionEnded:
      // What its verdict does next comes as events of its own; until then, the auto-close.
      if (state != State::kRunning) return Stay(state);
      return {State::kWaiting, Do::kStartTimer};
    default:
      return OnStartup(state, event);
  }
}

}  // namespace app
