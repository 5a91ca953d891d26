#include "framework/popup_list.h"

#include <algorithm>
#include <stdexcept>

#include "framework/application.h"
#include "framework/menu.h"

namespace framework {
namespace {

// What a window procedure answers for a message it has handled, where Windows asks for TRUE.
constexpr platform::LResult kTrue = 1;

}  // namespace

TPopupList::TPopupList(TApplication& app) : app_(app) {
  platform::WindowSpec desc;
  desc.kind = platform::WindowKind::kMessageOnly;
  const platform::WindowId id = app.Windowing().NewWindow(desc, this);
  if (id == platform::kNoWindow) throw std::runtime_error("Cannot create the menu window");
  window_ = UniqueWindow(app, id);
}

TPopupList::~TPopupList() = default;

TPopupList::Listing TPopupList::Add(TPopupMenu& menu) {
  menus_.push_back(&menu);
  return Listing(*this, &menu);
}

void TPopupList::Remove(TPopupMenu* menu) noexcept {
  std::erase(menus_, menu);
}

platform::LResult TPopupList::WndProc(platform::MessageId id, platform::WParam wparam,
                                      platform::LParam lparam) {
  if (id == platform::kWmCommand) {
    const std::uint16_t command = platform::LoWord(wparam);
    for (TPopupMenu* menu : menus_) {
      if (menu->DispatchCommand(command)) return 0;
    }
  }
  if (id == platform::kWmMeasureItem || id == platform::kWmDrawItem) {
    for (TPopupMenu* menu : menus_) {
      if (menu->AnswerImageRequest(id, lparam)) return kTrue;
    }
  }
  if (id == platform::kWmMenuChar) {
    platform::LResult result = 0;
    for (TPopupMenu* menu : menus_) {
      if (menu->AnswerMenuChar(wparam, lparam, result)) return result;
    }
  }
  if (id == platform::kWmMenuSelect) {
    for (TPopupMenu* menu : menus_) menu->NoteSelection(lparam);
  }
  if (id == platform::kWmInitMenuPopup) {
    const auto submenu = static_cast<platform::MenuId>(wparam);
    for (TPopupMenu* menu : menus_) {
      if (menu->OpenSubmenu(submenu)) return 0;
    }
  }
  return app_.Windowing().DefaultProc(window_.get(), id, wparam, lparam);
}

platform::LResult TPopupList::HandleMessage(platform::WindowId window, platform::MessageId id,
                                            platform::WParam wparam, platform::LParam lparam) {
  if (!window_) return app_.Windowing().DefaultProc(window, id, wparam, lparam);
  return app_.Guarded([&] { return WndProc(id, wparam, lparam); });
}

}  // namespace framework
