// The popup cycle, wired: the form tells the rules in popup_states.h what happened and does
// what they answer.

#include <exception>

#include "app/menu/choices.h"
#include "app/menu/main_form.h"
#include "app/texts/texts.h"
#include "framework/application.h"

namespace app {

void MainForm::Step(CycleEvent event) {
  raised_.push_back(event);
  if (stepping_) return;
  stepping_ = true;
  try {
    while (!raised_.empty()) {
      const CycleEvent next = raised_.front();
      raised_.pop_front();
      DoStep(next);
    }
  } catch (...) {
    raised_.clear();
    stepping_ = false;
    throw;
  }
  stepping_ = false;
}

void MainForm::DoStep(CycleEvent event) {
  // The state moves before the actions run: what they start (a build, a pop-up) sees it.
  const CycleStep step = NextStep(state_.cycle, event);
  state_.cycle = step.next;
  if (Has(step.actions, CycleAction::kHideWindows)) {
    Windowing().ShowWindow(Application().Handle(), platform::kSwHideWindow);
    Windowing().ShowWindow(Handle(), platform::kSwHideWindow);
  }
  if (Has(step.actions, CycleAction::kStopTimer)) auto_close_timer_.SetEnabled(false);
  if (Has(step.actions, CycleAction::kStartTimer)) auto_close_timer_.SetEnabled(true);
  if (Has(step.actions, CycleAction::kOpenToolsPage)) {
    StartAction(PageAction(Application().Platform().launcher, kToolsPage, true), false);
  }
  if (Has(step.actions, CycleAction::kBuild)) BuildAtStart();
  if (Has(step.actions, CycleAction::kAsk)) AskAboutStillInstalled();
  if (Has(step.actions, CycleAction::kPopup)) PopupAtCursor();
  if (Has(step.actions, CycleAction::kEnd)) {
    // The end of the program waits for no icon.
    icons_.Cancel();
    close_asked_ = true;
    CloseOnceStartsReplied();
  }
}

void MainForm::CloseOnceStartsReplied() {
  if (close_asked_ && actions_.Pending() == 0) Close();
}

void MainForm::Activate() {
  try {
    Step(CycleEvent::kActivated);
  } catch (const std::exception& failure) {
    Application().ShowException(failure);
    Step(CycleEvent::kFailed);
  }
}

void MainForm::BuildAtStart() {
  RebuildProgramMenus();
  RebuildProcessMenu();
  RebuildLeftBehindMenu();
  Step(still_installed_ ? CycleEvent::kStillInstalled : CycleEvent::kBuilt);
}

void MainForm::PopupAtCursor() {
  // An unreadable cursor leaves the previous point in place.
  platform::Point cursor;
  if (Windowing().GetCursorPos(cursor)) state_.PopupPoint = cursor;
  icons_.Prepare(Windowing().Dpi(platform::kNoWindow));
  menu_.Popup(state_.PopupPoint);
}

void MainForm::ReShowMenu() {
  Step(CycleEvent::kWindowClosed);
}

void MainForm::OnMenuClosed() {
  try {
    Step(CycleEvent::kMenuClosed);
  } catch (const std::exception&) {
    // No timer to be had: this closing of the menu is followed by no auto-close.
  }
}

void MainForm::OnAutoCloseTick() {
  try {
    Step(CycleEvent::kTick);
  } catch (const std::exception&) {
    // The next tick tries again.
  }
}

void MainForm::AskAboutStillInstalled() {
  const int answer = ShowBox(Box{StillInstalledText(still_installed_.value_or("")),
                                 platform::kMbYesNo | platform::kMbIconInformation},
                             Application().Handle());
  // "Yes" sends the user to the tools page, and the program ends instead of showing the menu.
  Step(answer == platform::kIdYes ? CycleEvent::kAnsweredYes : CycleEvent::kAnsweredNo);
}

void MainForm::ShowThenMenuAgain(const std::function<void()>& show) {
  Step(CycleEvent::kWindowOpening);
  {
    const framework::TJobs::Hold replies(actions_);
    show();
  }
  Step(CycleEvent::kWindowClosed);
}

void MainForm::OpenWebPageAndEnd(std::string_view path) {
  RunAction(PageAction(Application().Platform().launcher, path, true));
}

void MainForm::End() {
  Step(CycleEvent::kEndAsked);
}

}  // namespace app
