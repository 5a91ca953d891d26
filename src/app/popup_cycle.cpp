// The popup cycle: the first activation, pop-ups, the auto-close, the still-installed prompt and
// the commands of the product submenu.

#include <exception>

#include "app/main_form.h"
#include "app/options_dialog.h"
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
  PopupAtCursor();
}

void MainForm::PopupAtCursor() {
  // An unreadable cursor leaves the previous point in place.
  platform::Point cursor;
  if (Windowing().GetCursorPos(cursor)) state_.PopupPoint = cursor;
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
    OpenWebPage(kToolsPage);
    try {
      CloseMainForm();
    } catch (const std::exception&) {
      // The program still ends with the auto-close.
    }
  }
  // Whatever the answer, a dismissed menu must end the program again.
  state_.AutoCloseArmed = true;
}

void MainForm::OnExit() {
  CloseMainForm();
}

void MainForm::OnOptions() {
  // While the dialog is open the running timer must not end the program.
  state_.AutoCloseArmed = false;
  options_dialog_->ShowModal();
  Application().ProcessMessages();
  ReShowMenu();
}

void MainForm::OnAbout() {
  state_.AutoCloseArmed = false;
  Windowing().ShowMessageBox(Handle(), AboutText(), AboutCaption(), platform::kMbIconInformation);
  ReShowMenu();
}

void MainForm::OnCheckForUpdates() {
  OpenWebPage(kUpdatePage);
  CloseMainForm();
}

void MainForm::OnVisitWebSite() {
  OpenWebPage(kHomePage);
  CloseMainForm();
}

void MainForm::OnSendMessage() {
  OpenWebPage(kSupportPage);
  CloseMainForm();
}

void MainForm::OpenWebPage(std::string_view path) {
  // Whether a browser opened it is not the program's to know; it goes on as if it had.
  Application().Platform().launcher.Execute(platform::kNoWindow, "open", WebAddress(path), "", "",
                                            platform::kSwShowNormalWindow);
}

}  // namespace app
