// The popup cycle's rules and the notice a chosen program gets, as tables, without a form.

#include "app/menu/popup_states.h"

#include <gtest/gtest.h>

#include "app/launch/launch_notice.h"

namespace {

using app::CycleAction;
using app::CycleEvent;
using app::CycleState;
using State = CycleState;
using Event = CycleEvent;
using Do = CycleAction;

struct StepCase {
  State state;
  Event event;
  State next;
  Do actions;
};

TEST(PopupStates, EachEventLeadsWhereTheCycleGoes) {
  const StepCase cases[] = {
      // The start-up, once per run.
      {State::kStarting, Event::kActivated, State::kBuilding, Do::kHideWindows | Do::kBuild},
      {State::kBuilding, Event::kActivated, State::kBuilding, Do::kNone},
      {State::kWaiting, Event::kActivated, State::kWaiting, Do::kNone},
      {State::kBuilding, Event::kBuilt, State::kMenuShown, Do::kPopup},
      {State::kBuilding, Event::kFailed, State::kClosing, Do::kEnd},
      {State::kMenuShown, Event::kFailed, State::kClosing, Do::kEnd},
      // The question about the program uninstalled last: the timer stops while it is open.
      {State::kBuilding, Event::kStillInstalled, State::kAsking, Do::kStopTimer | Do::kAsk},
      {State::kAsking, Event::kAnsweredNo, State::kMenuShown, Do::kPopup},
      {State::kAsking, Event::kAnsweredYes, State::kClosing, Do::kOpenToolsPage | Do::kEnd},
      {State::kAsking, Event::kBuilt, State::kAsking, Do::kNone},
      // Only the start-up build asks.
      {State::kWindowShown, Event::kStillInstalled, State::kWindowShown, Do::kNone},
      {State::kAsking, Event::kStillInstalled, State::kAsking, Do::kNone},
      // The menu closes: the timer runs, for the first time or again.
      {State::kMenuShown, Event::kMenuClosed, State::kWaiting, Do::kStartTimer},
      {State::kWaiting, Event::kMenuClosed, State::kWaiting, Do::kStartTimer},
      // Ticks end the program unless a window of the program is up.
      {State::kWaiting, Event::kTick, State::kClosing, Do::kEnd},
      {State::kMenuShown, Event::kTick, State::kClosing, Do::kEnd},
      {State::kBuilding, Event::kTick, State::kClosing, Do::kEnd},
      {State::kClosing, Event::kTick, State::kClosing, Do::kEnd},
      {State::kStarting, Event::kTick, State::kStarting, Do::kNone},
      {State::kAsking, Event::kTick, State::kAsking, Do::kNone},
      {State::kWindowShown, Event::kTick, State::kWindowShown, Do::kNone},
      {State::kNotice, Event::kTick, State::kNotice, Do::kNone},
      {State::kRunning, Event::kTick, State::kRunning, Do::kNone},
      // A window shown from the menu, then the menu again with the timer stopped.
      {State::kWaiting, Event::kWindowOpening, State::kWindowShown, Do::kNone},
      {State::kWindowShown, Event::kWindowClosed, State::kMenuShown, Do::kStopTimer | Do::kPopup},
      // A chosen program's notice, and the ends that commands ask for.
      {State::kWaiting, Event::kNoticeOpening, State::kNotice, Do::kNone},
      {State::kNotice, Event::kEndAsked, State::kClosing, Do::kEnd},
      {State::kWaiting, Event::kEndAsked, State::kClosing, Do::kEnd},
      // An action's work: no auto-close until its reply, then the timer again.
      {State::kWaiting, Event::kActionStarted, State::kRunning, Do::kStopTimer},
      {State::kNotice, Event::kActionStarted, State::kRunning, Do::kStopTimer},
      {State::kRunning, Event::kActionEnded, State::kWaiting, Do::kStartTimer},
      {State::kNotice, Event::kActionEnded, State::kNotice, Do::kNone},
      {State::kRunning, Event::kEndAsked, State::kClosing, Do::kEnd},
      {State::kClosing, Event::kActionEnded, State::kClosing, Do::kNone},
      // The options' OK reads the list again: the menu comes back once it is read, not when
      // their window closes, and no tick ends the program meanwhile.
      {State::kWindowShown, Event::kRebuildStarted, State::kRebuilding, Do::kStopTimer},
      {State::kRebuilding, Event::kWindowClosed, State::kRebuilding, Do::kNone},
      {State::kRebuilding, Event::kTick, State::kRebuilding, Do::kNone},
      {State::kRebuilding, Event::kRebuilt, State::kMenuShown, Do::kStopTimer | Do::kPopup},
      {State::kWindowShown, Event::kRebuilt, State::kWindowShown, Do::kNone},
      // Once the end is asked for, nothing else follows.
      {State::kClosing, Event::kWindowClosed, State::kClosing, Do::kNone},
      {State::kClosing, Event::kMenuClosed, State::kClosing, Do::kNone},
      {State::kClosing, Event::kEndAsked, State::kClosing, Do::kNone},
  };
  for (const StepCase& c : cases) {
    const app::CycleStep step = app::NextStep(c.state, c.event);
    EXPECT_EQ(step.next, c.next) << static_cast<int>(c.state) << " on "
                                 << static_cast<int>(c.event);
    EXPECT_EQ(step.actions, c.actions)
        << static_cast<int>(c.state) << " on " << static_cast<int>(c.event);
  }
}

TEST(PopupStates, OnlyTheStartupBuildAsks) {
  const std::pair<State, bool> cases[] = {
      {State::kStarting, false},  {State::kBuilding, true}, {State::kAsking, true},
      {State::kMenuShown, false}, {State::kWaiting, false}, {State::kWindowShown, false},
      {State::kNotice, false},    {State::kClosing, false}, {State::kRunning, false},
  };
  for (const auto& [state, asks] : cases) {
    EXPECT_EQ(app::InStartupBuild(state), asks) << static_cast<int>(state);
  }
}

TEST(LaunchNotice, EachPlanGetsItsNotice) {
  using app::LaunchKind;
  using app::LaunchNotice;
  const struct {
    LaunchKind kind;
    bool product_unknown;
    platform::StartError start;
    LaunchNotice notice;
  } cases[] = {
      {LaunchKind::kStart, false, platform::kStartOk, LaunchNotice::kNone},
      {LaunchKind::kStart, false, platform::kErrorCancelled, LaunchNotice::kNone},
      {LaunchKind::kStart, false, platform::kErrorFileNotFound, LaunchNotice::kStartFailed},
      {LaunchKind::kStart, false, platform::kErrorAccessDenied, LaunchNotice::kStartFailed},
      {LaunchKind::kNoCommand, false, platform::kStartOk, LaunchNotice::kCannotUninstall},
      {LaunchKind::kMissing, false, platform::kStartOk, LaunchNotice::kOfferRemoval},
      {LaunchKind::kRefused, false, platform::kStartOk, LaunchNotice::kMissingUninstaller},
      {LaunchKind::kUnreachable, false, platform::kStartOk, LaunchNotice::kStartFailed},
      // Both roads to an orphaned entry end at the same offer.
      {LaunchKind::kStart, true, platform::kStartOk, LaunchNotice::kOfferRemoval},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(app::NoticeFor(c.kind, c.product_unknown, c.start), c.notice)
        << static_cast<int>(c.kind) << " " << c.start;
  }
}

}  // namespace
