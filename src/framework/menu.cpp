#include "framework/menu.h"

#include <stdexcept>

#include "framework/application.h"
#include "framework/popup_list.h"

namespace framework {
namespace {

constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kLastSurrogate = 0xDFFF;

bool IsMoveOrChoiceKey(platform::WParam key) {
  switch (key) {
    case platform::kVkUp:
    case platform::kVkDown:
    case platform::kVkLeft:
    case platform::kVkRight:
    case platform::kVkReturn:
    case platform::kVkEscape:
      return true;
    default:
      return false;
  }
}

// Shows the keys typed into the menu to the filter while the menu is up.
class KeyFilterScope {
 public:
  KeyFilterScope(platform::Windowing& ws, platform::MenuKeyFilter& filter) : ws_(ws) {
    ws_.SetMenuKeyFilter(&filter);
  }
  ~KeyFilterScope() { ws_.SetMenuKeyFilter(nullptr); }
  KeyFilterScope(const KeyFilterScope&) = delete;
  KeyFilterScope& operator=(const KeyFilterScope&) = delete;

 private:
  platform::Windowing& ws_;
};

}  // namespace

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
  filled_ = false;
}

void TMenuItem::FillOnOpen(bool has_children, Filler fill) {
  Clear();
  lazy_ = true;
  has_children_ = has_children;
  filler_ = std::move(fill);
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

void TMenuItem::AppendTo(Appender& to, platform::MenuId menu) {
  if (Hidden) return;
  platform::MenuItemSpec desc;
  desc.caption = Caption;
  desc.is_default = Default;
  desc.command = command_.get();
  if (IsSeparator()) {
    desc.kind = platform::MenuItemSpec::Kind::kSeparator;
  } else if (lazy_ && has_children_) {
    AppendLazySubmenu(to, menu, desc);
    return;
  } else if (!lazy_ && children_.Count() != 0) {
    // A submenu without children is shown as a plain item: choosing it only closes the menu.
    desc.kind = platform::MenuItemSpec::Kind::kSubmenu;
    UniqueMenu submenu(to.ws, to.ws.CreatePopupMenu());
    if (!submenu) throw std::runtime_error("Cannot create a menu");
    for (const auto& child : children_) child->AppendTo(to, submenu.get());
    desc.submenu = submenu.get();
    if (!to.ws.AppendMenuItem(menu, desc)) throw std::runtime_error("Cannot add a menu item");
    to.submenus[submenu.release()] = this;  // owned by its parent menu from now on
    return;
  } else if (Image != kNoImage && to.images != nullptr) {
    to.images->Describe(Image, desc);
  }
  if (!to.ws.AppendMenuItem(menu, desc)) throw std::runtime_error("Cannot add a menu item");
  if (desc.image != platform::MenuItemSpec::Image::kNone) to.shown.emplace(Image, command_.get());
}

void TMenuItem::AppendLazySubmenu(Appender& to, platform::MenuId menu,
                                  platform::MenuItemSpec& desc) {
  desc.kind = platform::MenuItemSpec::Kind::kSubmenu;
  UniqueMenu submenu(to.ws, to.ws.CreatePopupMenu());
  if (!submenu) throw std::runtime_error("Cannot create a menu");
  desc.submenu = submenu.get();
  if (!to.ws.AppendMenuItem(menu, desc)) throw std::runtime_error("Cannot add a menu item");
  to.submenus[submenu.get()] = this;
  to.pending[submenu.release()] = this;  // owned by its parent menu from now on
}

void TMenuItem::EnsureFilled() {
  if (!lazy_ || filled_) return;
  filled_ = true;
  if (filler_) filler_(*this);
}

void TMenuItem::FillOpened(Appender& to, platform::MenuId opened) {
  EnsureFilled();
  for (const auto& child : children_) {
    try {
      child->AppendTo(to, opened);
    } catch (const std::runtime_error&) {
      // A platform that takes no more items: what is in stays usable, and the menu stays up.
      ++to.refused;
      return;
    }
  }
}

TPopupMenu::TPopupMenu(TApplication& app)
    : app_(app), root_("", ""), listing_(app.PopupList().Add(*this)) {
  root_.Attach(nullptr, &app.Commands());
}

void TPopupMenu::Popup(platform::Point at) {
  platform::Windowing& ws = app_.Windowing();
  pending_.clear();
  shown_.clear();
  submenus_.clear();
  menu_.reset();
  UniqueMenu menu(ws, ws.CreatePopupMenu());
  if (!menu) throw std::runtime_error("Cannot create a menu");
  TMenuItem::Appender to{ws, pending_, submenus_, refused_, images_, shown_};
  for (std::size_t i = 0; i < root_.Count(); ++i) root_[i].AppendTo(to, menu.get());
  menu_ = std::move(menu);
  keys_menu_ = menu_.get();
  if (typing_ != nullptr) typing_->EndText();
  {
    const KeyFilterScope filter(ws, *this);
    ws.TrackPopupMenu(menu_.get(), kPopupFlags, at, app_.PopupList().Window());
  }
  // The tree may change before the next pop-up; nothing may point into it meanwhile.
  pending_.clear();
  shown_.clear();
  submenus_.clear();
}

bool TPopupMenu::OpenSubmenu(platform::MenuId submenu) {
  const auto it = pending_.find(submenu);
  if (it == pending_.end()) return false;
  TMenuItem* item = it->second;
  pending_.erase(it);  // a second opening finds it filled
  TMenuItem::Appender to{app_.Windowing(), pending_, submenus_, refused_, images_, shown_};
  item->FillOpened(to, submenu);
  return true;
}

void TPopupMenu::ImagesArrived(const std::vector<ImageKey>& keys) {
  if (images_ == nullptr || !menu_ || keys.empty()) return;
  platform::Windowing& ws = app_.Windowing();
  // Drawn pictures are asked for again when the menu repaints; bitmaps are handed over anew.
  if (images_->Mode() == platform::MenuImageMode::kBlendedBitmaps) {
    for (ImageKey key : keys) {
      const auto [first, last] = shown_.equal_range(key);
      for (auto it = first; it != last; ++it) {
        ws.SetMenuItemBitmap(menu_.get(), it->second, images_->BitmapOf(key));
      }
    }
  }
  ws.RedrawOpenMenus();
}

bool TPopupMenu::AnswerImageRequest(platform::MessageId id, platform::LParam lparam) {
  if (images_ == nullptr) return false;
  platform::Windowing& ws = app_.Windowing();
  platform::MenuImageRequest request;
  if (!ws.ReadMenuImageRequest(id, lparam, request)) return false;
  const auto key = static_cast<ImageKey>(request.data);
  const int size = images_->SizeOf(key);
  if (size == 0) return false;
  if (request.draw) {
    ws.DrawMenuImage(lparam, images_->IconOf(key), size);
  } else {
    ws.AnswerMenuImageSize(lparam, size);
  }
  return true;
}

bool TPopupMenu::AnswerMenuChar(platform::WParam wparam, platform::LParam lparam,
                                platform::LResult& result) {
  const auto menu = static_cast<platform::MenuId>(lparam);
  const auto it = submenus_.find(menu);
  if (typing_ == nullptr || it == submenus_.end()) return false;
  const char32_t character = platform::LoWord(wparam);
  // Half of a character beyond the first 65536 is no text of its own.
  if (character >= kFirstSurrogate && character <= kLastSurrogate) return false;
  platform::Windowing& ws = app_.Windowing();
  const TMenuTyping::Answer answer =
      typing_->Type(*it->second, {TMenuTyping::Key::Kind::kCharacter, character, ws.Now()});
  const platform::WindowId owner = app_.PopupList().Window();
  switch (answer.action) {
    case TMenuTyping::Answer::Action::kSelect:
      result = ws.AnswerMenuChar(owner, menu, answer.position, platform::MenuCharAction::kSelect);
      return true;
    case TMenuTyping::Answer::Action::kOpen:
      result = ws.AnswerMenuChar(owner, menu, answer.position, platform::MenuCharAction::kChoose);
      return true;
    case TMenuTyping::Answer::Action::kNone:
      break;
  }
  return false;
}

void TPopupMenu::NoteSelection(platform::LParam lparam) {
  // A closing menu reports no menu; the last one stays until the next pop-up.
  if (lparam != 0) keys_menu_ = static_cast<platform::MenuId>(lparam);
}

bool TPopupMenu::FilterMenuKey(platform::MessageId id, platform::WParam key) {
  if (typing_ == nullptr) return false;
  if (id == platform::kWmKeyDown) {
    // Moving, choosing and closing keep their meaning, and end the text.
    if (IsMoveOrChoiceKey(key)) typing_->EndText();
    return false;
  }
  if (id != platform::kWmChar || (key != platform::kVkSpace && key != platform::kVkBack)) {
    return false;
  }
  return app_.Guarded([&] { return static_cast<platform::LResult>(FilterTextKey(key)); }) != 0;
}

bool TPopupMenu::FilterTextKey(platform::WParam key) {
  const auto it = submenus_.find(keys_menu_);
  if (it == submenus_.end()) return false;
  platform::Windowing& ws = app_.Windowing();
  const std::int64_t now = ws.Now();
  // Without a text, a blank and Backspace do what they do in any menu.
  if (!typing_->IsTyping(*it->second, now)) return false;
  const TMenuTyping::Key typed =
      key == platform::kVkBack ? TMenuTyping::Key{TMenuTyping::Key::Kind::kBackspace, 0, now}
                               : TMenuTyping::Key{TMenuTyping::Key::Kind::kCharacter, U' ', now};
  const TMenuTyping::Answer answer = typing_->Type(*it->second, typed);
  if (answer.action == TMenuTyping::Answer::Action::kSelect) {
    ws.SelectInOpenMenu(app_.PopupList().Window(), keys_menu_, answer.position);
  }
  return true;
}

bool TPopupMenu::DispatchCommand(std::uint16_t command) {
  TMenuItem* item = root_.FindCommand(command);
  if (item == nullptr) return false;
  item->Click();
  return true;
}

}  // namespace framework
