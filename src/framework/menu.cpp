#include "framework/menu.h"

#include <stdexcept>

#include "framework/application.h"
#include "framework/popup_list.h"

namespace framework {

TMenuItem::TMenuItem(std::string name, std::string caption, CaptionKind kind)
    : Name(std::move(name)), Caption(std::move(caption)), kind_(kind) {}

void TMenuItem::Attach(TMenuItem* parent, CommandPool* pool) {
  parent_ = parent;
  pool_ = pool;
  if (pool_ != nullptr && parent_ != nullptr && !command_) command_ = pool_->Acquire();
  for (auto& child : children_) child->Attach(this, pool);
}

TMenuItem& TMenuItem::Add(std::unique_ptr<TMenuItem> child) {
  child->Attach(this, pool_);
  return children_.Add(std::move(child));
}

void TMenuItem::Clear() {
  children_.Clear();
}

void TMenuItem::Click() {
  if (OnClick) OnClick(*this);
}

TMenuItem* TMenuItem::FindCommand(std::uint16_t command) {
  if (command_.get() == command && parent_ != nullptr) return this;
  for (auto& child : children_) {
    if (TMenuItem* found = child->FindCommand(command)) return found;
  }
  return nullptr;
}

void TMenuItem::AppendTo(platform::Windowing& ws, platform::MenuId menu) const {
  platform::MenuItemSpec desc;
  desc.caption = Caption;
  desc.is_default = Default;
  desc.command = command_.get();
  if (IsSeparator()) {
    desc.kind = platform::MenuItemSpec::Kind::kSeparator;
  } else if (children_.Count() != 0) {
    // A submenu without children is shown as a plain item: choosing it only closes the menu.
    desc.kind = platform::MenuItemSpec::Kind::kSubmenu;
    UniqueMenu submenu(ws, ws.CreatePopupMenu());
    if (!submenu) throw std::runtime_error("Cannot create a menu");
    for (const auto& child : children_) child->AppendTo(ws, submenu.get());
    desc.submenu = submenu.get();
    if (!ws.AppendMenuItem(menu, desc)) throw std::runtime_error("Cannot add a menu item");
    submenu.release();  // owned by its parent menu from now on
    return;
  }
  if (!ws.AppendMenuItem(menu, desc)) throw std::runtime_error("Cannot add a menu item");
}

TPopupMenu::TPopupMenu(TApplication& app)
    : app_(app), root_("", ""), listing_(app.PopupList().Add(*this)) {
  root_.Attach(nullptr, &app.Commands());
}

void TPopupMenu::Popup(platform::Point at) {
  platform::Windowing& ws = app_.Windowing();
  menu_.reset();
  UniqueMenu menu(ws, ws.CreatePopupMenu());
  if (!menu) throw std::runtime_error("Cannot create a menu");
  for (std::size_t i = 0; i < root_.Count(); ++i) root_[i].AppendTo(ws, menu.get());
  menu_ = std::move(menu);
  ws.TrackPopupMenu(menu_.get(), kPopupFlags, at, app_.PopupList().Window());
}

bool TPopupMenu::DispatchCommand(std::uint16_t command) {
  TMenuItem* item = root_.FindCommand(command);
  if (item == nullptr) return false;
  item->Click();
  return true;
}

}  // namespace framework
