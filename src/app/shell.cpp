// The popup cycle: activation, pop-ups, the auto-close and the commands that end the program.

#include <exception>

#include "app/form1.h"
#include "app/form2.h"
#include "app/texts.h"
#include "framework/application.h"

namespace app {

void TForm1::Activate() {
  // Activation builds and pops the menu up once per run; the hidden form is never shown again.
  if (activated_) return;
  activated_ = true;
  FormActivate();
}

void TForm1::FormActivate() {
  try {
    ActivationSteps();
  } catch (const std::exception& failure) {
    // Without a menu nothing could ever end the program: report, then end it.
    Application().ShowException(failure);
    CloseMainForm();
  }
}

void TForm1::ActivationSteps() {
  Windowing().ShowWindow(Application().Handle(), platform::kSwHideWindow);
  Windowing().ShowWindow(Handle(), platform::kSwHideWindow);
  State.Activating = true;
  RebuildProgramMenus();
  RebuildProcessMenu();
  State.Activating = false;
  // Asked for once the build has pumped its last messages, so the loop is there to see it.
  if (ending_) {
    CloseMainForm();
    return;
  }
  PopupAtCursor();
}

void TForm1::PopupAtCursor() {
  // An unreadable cursor leaves the previous point in place.
  platform::Point cursor;
  if (Windowing().GetCursorPos(cursor)) State.PopupPoint = cursor;
  PMenu1.Popup(State.PopupPoint);
}

void TForm1::ReShowMenu() {
  State.AutoCloseArmed = true;
  Timer1.SetEnabled(false);
  PopupAtCursor();
}

void TForm1::CMMenuClosed() {
  try {
    Timer1.SetEnabled(true);
  } catch (const std::exception&) {
    // No timer to be had: this closing of the menu is followed by no auto-close.
  }
}

void TForm1::Timer1Timer() {
  if (!State.AutoCloseArmed) return;
  try {
    CloseMainForm();
  } catch (const std::exception&) {
    // The next tick tries again.
  }
}

void TForm1::Exit1Click() {
  CloseMainForm();
}

void TForm1::Options1Click() {
  // While the dialog is open the running timer must not end the program.
  State.AutoCloseArmed = false;
  Form2->ShowModal();
  Application().ProcessMessages();
  ReShowMenu();
}

void TForm1::About2Click() {
  State.AutoCloseArmed = false;
  Windowing().ShowMessageBox(Handle(), AboutText(), "About " + std::string(kTitle),
                             platform::kMbIconInformation);
  ReShowMenu();
}

void TForm1::SubscribeforUpdates1Click() {
  OpenWebPage(kUpdatePage);
  CloseMainForm();
}

void TForm1::VistiWebPage1Click() {
  OpenWebPage(kHomePage);
  CloseMainForm();
}

void TForm1::SendEmail1Click() {
  OpenWebPage(kSupportPage);
  CloseMainForm();
}

void TForm1::OpenWebPage(std::string_view path) {
  // Whether a browser opened it is not the program's to know; it goes on as if it had.
  Application().Platform().launcher.Execute(platform::kNoWindow, "open", WebAddress(path), "", "",
                                            platform::kSwShowNormalWindow);
}

}  // namespace app
