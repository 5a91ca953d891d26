// The popup cycle: the first activation, pop-ups, the auto-close and the still-installed
// prompt.

#include <exception>

#include "app/main_form.h"
#include "app/texts.h"
#include "framework/application.h"

namespace app {

void MainForm::Activate() {
  // Activation builds and pops the menu up once per run; the hidden form is never shown again.
  if (activated_) return;
  activated_ = true;
  OnFirstActivation();
}

void MainForm::OnFirstActivation() {
  try {
    ShowMenuFirstTime();
  } catch (const std::exception& failure) {
    // Without a menu nothing could ever end the program: report, then end it.
    Application().ShowException(failure);
    CloseMainForm();
  }
}

void MainForm::ShowMenuFirstTime() {
  Windowing().ShowWindow(Application().Handle(), platform::kSwHideWindow);
  Windowing().ShowWindow(Handle(), platform::kSwHideWindow);
  state_.Activating = true;
  RebuildProgramMenus();
  RebuildProcessMenu();
  state_.Activating = false;
  // Asked for once the build has pumped its last messages, so the loop is there to see it.
  if (ending_) {
    CloseMainForm();
    return;
  }
  PopupAtCursor();
}

void MainForm::PopupAtCursor() {
  // An unreadable cursor leaves the previous point in place.
  platform::Point cursor;
  if (Windowing().GetCursorPos(cursor)) state_.PopupPoint = cursor;
  icons_.Prepare(Windowing().Dpi(platform::kNoWindow));
  menu_.Popup(state_.PopupPoint);
}

void MainForm::ReShowMenu() {
  state_.AutoCloseArmed = true;
  auto_close_timer_.SetEnabled(false);
  PopupAtCursor();
}

void MainForm::OnMenuClosed() {
  try {
    auto_close_timer_.SetEnabled(true);
  } catch (const std::exception&) {
    // No timer to be had: this closing of the menu is followed by no auto-close.
  }
}

void MainForm::OnAutoCloseTick() {
  if (!state_.AutoCloseArmed) return;
  try {
    CloseMainForm();
  } catch (const std::exception&) {
    // The next tick tries again.
  }
}

void MainForm::AskAboutStillInstalled(const std::string& display_name) {
  state_.AutoCloseArmed = false;
  auto_close_timer_.SetEnabled(false);
  const int answer = Windowing().ShowMessageBox(
      Application().Handle(), StillInstalledText(display_name), std::string(kTitle),
      platform::kMbYesNo | platform::kMbIconInformation);
  if (answer == platform::kIdYes) {
    // The user is sent to the tools page; the activation ends the program instead of showing
    // the menu.
    ending_ = true;
    OpenWebPage(kToolsPage);
  }
  // Whatever the answer, a dismissed menu must end the program again.
  state_.AutoCloseArmed = true;
}

void MainForm::ShowThenMenuAgain(const std::function<void()>& show) {
  // While the window is up the running timer must not end the program.
  state_.AutoCloseArmed = false;
  show();
  ReShowMenu();
}

void MainForm::OpenWebPageAndEnd(std::string_view path) {
  OpenWebPage(path);
  CloseMainForm();
}

void MainForm::OpenWebPage(std::string_view path) {
  // Whether a browser opened it is not the program's to know; it goes on as if it had.
  Application().Platform().launcher.Execute(platform::kNoWindow, "open", WebAddress(path), "", "",
                                            platform::kSwShowNormalWindow);
}

}  // namespace app
