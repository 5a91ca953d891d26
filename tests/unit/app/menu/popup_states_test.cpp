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
      {State::kBuilding, Event::kStillInstalled, State::kAsking, Do::kStopTimer},
      {State::kAsking, Event::kAnsweredNo, State::kBuilding, Do::kNone},
      {State::kAsking, Event::kAnsweredYes, State::kBuildingToEnd, Do::kOpenToolsPage},
      {State::kBuildingToEnd, Event::kBuilt, State::kClosing, Do::kEnd},
      // Only the start-up build asks.
      {State::kWindowShown, Event::kStillInstalled, State::kWindowShown, Do::kNone},
      {State::kBuildingToEnd, Event::kStillInstalled, State::kBuildingToEnd, Do::kNone},
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
      // A window shown from the menu, then the menu again with the timer stopped.
      {State::kWaiting, Event::kWindowOpening, State::kWindowShown, Do::kNone},
      {State::kWindowShown, Event::kWindowClosed, State::kMenuShown, Do::kStopTimer | Do::kPopup},
      // A chosen program's notice, and the ends that commands ask for.
      {State::kWaiting, Event::kNoticeOpening, State::kNotice, Do::kNone},
      {State::kNotice, Event::kEndAsked, State::kClosing, Do::kEnd},
      {State::kWaiting, Event::kEndAsked, State::kClosing, Do::kEnd},
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
      {State::kStarting, false},     {State::kBuilding, true},   {State::kAsking, true},
      {State::kBuildingToEnd, true}, {State::kMenuShown, false}, {State::kWaiting, false},
      {State::kWindowShown, false},  {State::kNotice, false},    {State::kClosing, false},
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
    platform::StartError start;
    LaunchNotice notice;
  } cases[] = {
      {LaunchKind::kStart, platform::kStartOk, LaunchNotice::kNone},
      {LaunchKind::kStart, platform::kErrorCancelled, LaunchNotice::kNone},
      {LaunchKind::kStart, platform::kErrorFileNotFound, LaunchNotice::kStartFailed},
      {LaunchKind::kStart, platform::kErrorAccessDenied, LaunchNotice::kStartFailed},
      {LaunchKind::kNoCommand, platform::kStartOk, LaunchNotice::kCannotUninstall},
      {LaunchKind::kMissing, platform::kStartOk, LaunchNotice::kOfferRemoval},
      {LaunchKind::kRefused, platform::kStartOk, LaunchNotice::kMissingUninstaller},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(app::NoticeFor(c.kind, c.start), c.notice)
        << static_cast<int>(c.kind) << " " << c.start;
  }
}

}  // namespace
