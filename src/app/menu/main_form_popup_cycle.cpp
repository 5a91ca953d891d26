// The popup cycle, wired: the form tells the rules in popup_states.h what happened and does
// what they answer.

#include <exception>

#include "app/menu/main_form.h"
#include "app/texts/texts.h"
#include "framework/application.h"

namespace app {

void MainForm::Step(CycleEvent event) {
  // The state moves before the actions run: what they start (a build, a pop-up) sees it.
  const CycleStep step = NextStep(state_.cycle, event);
  state_.cycle = step.next;
  if (Has(step.actions, CycleAction::kHideWindows)) {
    Windowing().ShowWindow(Application().Handle(), platform::kSwHideWindow);
    Windowing().ShowWindow(Handle(), platform::kSwHideWindow);
  }
  if (Has(step.actions, CycleAction::kStopTimer)) auto_close_timer_.SetEnabled(false);
  if (Has(step.actions, CycleAction::kStartTimer)) auto_close_timer_.SetEnabled(true);
  if (Has(step.actions, CycleAction::kOpenToolsPage)) OpenWebPage(kToolsPage);
  if (Has(step.actions, CycleAction::kBuild)) BuildAtStart();
  if (Has(step.actions, CycleAction::kPopup)) PopupAtCursor();
  if (Has(step.actions, CycleAction::kEnd)) {
    // The end of the program waits for no icon.
    icons_.Cancel();
    Close();
  }
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
  Step(CycleEvent::kBuilt);
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

void MainForm::AskAboutStillInstalled(const std::string& display_name) {
  Step(CycleEvent::kStillInstalled);
  const int answer = Windowing().ShowMessageBox(
      Application().Handle(), StillInstalledText(display_name), std::string(kTitle),
      platform::kMbYesNo | platform::kMbIconInformation);
  // "Yes" sends the user to the tools page, and the program ends instead of showing the menu.
  Step(answer == platform::kIdYes ? CycleEvent::kAnsweredYes : CycleEvent::kAnsweredNo);
}

void MainForm::ShowThenMenuAgain(const std::function<void()>& show) {
  Step(CycleEvent::kWindowOpening);
  show();
  Step(CycleEvent::kWindowClosed);
}

void MainForm::OpenWebPageAndEnd(std::string_view path) {
  OpenWebPage(path);
  End();
}

void MainForm::End() {
  Step(CycleEvent::kEndAsked);
}

void MainForm::OpenWebPage(std::string_view path) {
  // Whether a browser opened it is not the program's to know; it goes on as if it had.
  Application().Platform().launcher.Execute(platform::kNoWindow, "open", WebAddress(path), "", "",
                                            platform::kSwShowNormalWindow);
}

}  // namespace app
