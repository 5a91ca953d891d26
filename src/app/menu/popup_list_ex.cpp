#include "app/menu/popup_list_ex.h"

#include <memory>

#include "app/menu/messages.h"
#include "framework/application.h"
#include "framework/form.h"

namespace app {
namespace {

// WM_MENUSELECT reports a closed menu as flags 0xFFFF and no menu.
constexpr std::uint16_t kMenuClosedFlags = 0xFFFF;

bool IsMenuClosed(platform::MessageId id, platform::WParam wparam, platform::LParam lparam) {
  return id == platform::kWmMenuSelect && lparam == 0 &&
         platform::HiWord(wparam) == kMenuClosedFlags;
}

}  // namespace

platform::LResult TPopupListEx::WndProc(platform::MessageId id, platform::WParam wparam,
                                        platform::LParam lparam) {
  if (IsMenuClosed(id, wparam, lparam)) {
    Forward(kCmMenuClosed, wparam, lparam);
  } else if (id == platform::kWmEnterMenuLoop) {
    Forward(kCmEnterMenuLoop, wparam, lparam);
  }
  return TPopupList::WndProc(id, wparam, lparam);
}

void TPopupListEx::Forward(platform::MessageId id, platform::WParam wparam,
                           platform::LParam lparam) {
  // The options dialog can still be the active form when the menu shown after it closes; the
  // main form must hear of every closing, or nothing would ever end the program.
  framework::TForm* form = Application().ActiveForm();
  if (form == nullptr || !form->Handles(id)) form = Application().MainForm();
  if (form != nullptr) form->Perform(id, wparam, lparam);
}

void InstallPopupListEx(framework::TApplication& app) {
  app.ReplacePopupList(std::make_unique<TPopupListEx>(app));
}

}  // namespace app
