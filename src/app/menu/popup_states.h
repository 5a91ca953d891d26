#pragma once

// The popup cycle's rules: the states one run passes through, and what each event leads to.
// Plain values and one function; MainForm does what the step says, and nothing else decides.

#include <cstdint>

namespace app {

enum class CycleState : std::uint8_t {
  kStarting,     // the main form has not been activated yet
  kBuilding,     // the start-up build reads the catalogue and the running programs
  kAsking,       // the start-up build has found the program uninstalled last still listed,
                 // and asks about it
  kMenuShown,    // the menu is up
  kWaiting,      // the menu has closed; the auto-close timer runs
  kWindowShown,  // a window shown from the menu is up; the menu comes back after it
  kNotice,       // a notice about the chosen program is up
  kRunning,      // a chosen action's work runs off the GUI thread; its reply is awaited
  kRebuilding,   // the options' OK reads the list again; the menu comes back once it is read
  kClosing,      // the end of the program has been asked for
};

enum class CycleEvent : std::uint8_t {
  kActivated,       // the main form was activated
  kStillInstalled,  // the start-up build found the program uninstalled last still listed
  kAnsweredYes,     // the question about it was answered "Yes"
  kAnsweredNo,      // or "No"
  kBuilt,           // the start-up build has ended
  kFailed,          // the start-up build failed, and the failure has been shown
  kMenuClosed,      // the menu closed, with a choice or without
  kTick,            // the auto-close timer ticked
  kWindowOpening,   // a command shows a window, after which the menu comes back
  kWindowClosed,    // that window has closed
  kNoticeOpening,   // a notice about the chosen program is about to be shown
  kEndAsked,        // a command ends the program
  kActionStarted,   // a chosen action's work has started
  kActionEnded,     // its reply has come
  kRebuildStarted,  // the options' OK started reading the list again
  kRebuilt,         // and the list has been read and put in the menu
};

// What the form does on an event; several at once run in the order listed here.
enum class CycleAction : std::uint8_t {
  kNone = 0,
  kHideWindows = 1 << 0,    // hides the application window and the main form
  kStopTimer = 1 << 1,      // stops the auto-close timer
  kStartTimer = 1 << 2,     // starts it, or leaves it running
  kOpenToolsPage = 1 << 3,  // opens the maker's tools page
  kBuild = 1 << 4,          // the start-up build, ended by kBuilt or kStillInstalled
  kAsk = 1 << 5,            // the question about the program uninstalled last, answered by
                            // kAnsweredYes or kAnsweredNo
  kPopup = 1 << 6,          // the menu at the cursor
  kEnd = 1 << 7,            // the end of the program, once every start has replied
};

constexpr CycleAction operator|(CycleAction a, CycleAction b) {
  return static_cast<CycleAction>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool Has(CycleAction actions, CycleAction one) {
  return (static_cast<unsigned>(actions) & static_cast<unsigned>(one)) != 0;
}

struct CycleStep {
  CycleState next = CycleState::kStarting;
  CycleAction actions = CycleAction::kNone;
  friend bool operator==(const CycleStep&, const CycleStep&) = default;
};

// The state an event leads to and what to do on it.
CycleStep NextStep(CycleState state, CycleEvent event);

// Whether a tick of the auto-close timer ends the program: never while a window of the
// program is up, so that the user is not cut short.
bool AutoCloseArmed(CycleState state);

// Whether the start-up build is running. It alone asks about the program uninstalled last;
// a build asked for from the options dialog does not.
bool InStartupBuild(CycleState state);

}  // namespace app
