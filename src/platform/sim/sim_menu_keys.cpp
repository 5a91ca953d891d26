// Keys typed into the open menu by the scripted user, answered as Windows documents it.

#include <cctype>

#include "platform/sim/sim_windowing.h"

namespace sim {
namespace {

using Kind = platform::MenuItemSpec::Kind;

// WM_MENUCHAR's answers, in the high word.
constexpr std::uint16_t kMncIgnore = 0;
constexpr std::uint16_t kMncClose = 1;
constexpr std::uint16_t kMncExecute = 2;
constexpr std::uint16_t kMncSelect = 3;
// WM_MENUCHAR and WM_MENUSELECT flags.
constexpr std::uint16_t kMfPopup = 0x0010;
constexpr std::uint16_t kMfHilite = 0x0080;
constexpr char16_t kEnter = u'\r';
constexpr char16_t kEscape = 0x1B;
constexpr char16_t kFirstPrintable = u' ';

// The position of the item whose access key ("&" and the key) is key, ASCII letters in any case.
std::optional<std::size_t> AccessKeyItem(const std::vector<platform::MenuItemSpec>& items,
                                         char16_t key) {
  const auto upper = [](char16_t c) {
    return c < 0x80 ? static_cast<char16_t>(std::toupper(static_cast<int>(c))) : c;
  };
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string& caption = items[i].caption;
    for (std::size_t at = 0; at + 1 < caption.size(); ++at) {
      if (caption[at] != '&') continue;
      if (caption[at + 1] == '&') {
        ++at;
        continue;
      }
      if (upper(static_cast<unsigned char>(caption[at + 1])) == upper(key)) return i;
      break;
    }
  }
  return std::nullopt;
}

}  // namespace

platform::LResult WindowSystem::AnswerMenuChar(platform::WindowId, platform::MenuId,
                                               std::size_t position,
                                               platform::MenuCharAction action) {
  const std::uint16_t answer =
      action == platform::MenuCharAction::kSelect ? kMncSelect : kMncExecute;
  return static_cast<platform::LResult>(
      platform::MakeWParam(static_cast<std::uint16_t>(position), answer));
}

void WindowSystem::SelectInOpenMenu(platform::WindowId, platform::MenuId menu,
                                    std::size_t position) {
  for (std::size_t level = 0; level < menu_levels_.size(); ++level) {
    if (menu_levels_[level].menu == menu) SelectByKey(level, position);
  }
}

void WindowSystem::StartMenuKeys(platform::MenuId menu, platform::WindowId owner) {
  menu_owner_ = owner;
  menu_levels_ = {MenuLevel{menu, std::nullopt}};
  key_choice_.reset();
  keys_ended_menu_ = false;
}

const platform::MenuItemSpec* WindowSystem::SelectedItem() const {
  if (menu_levels_.empty() || !menu_levels_.back().selected) return nullptr;
  const auto it = menus_.find(menu_levels_.back().menu);
  if (it == menus_.end() || *menu_levels_.back().selected >= it->second.items.size()) {
    return nullptr;
  }
  return &it->second.items[*menu_levels_.back().selected];
}

void WindowSystem::SelectByKey(std::size_t level, std::size_t position) {
  const std::vector<platform::MenuItemSpec>& items = menus_[menu_levels_[level].menu].items;
  if (position >= items.size()) return;
  // Selecting in an outer menu closes the menus opened from it.
  menu_levels_.resize(level + 1);
  menu_levels_[level].selected = position;
  const platform::MenuItemSpec& item = items[position];
  const bool submenu = item.kind == Kind::kSubmenu;
  const auto id = submenu ? static_cast<std::uint16_t>(position) : item.command;
  const auto flags = static_cast<std::uint16_t>(kMfHilite | (submenu ? kMfPopup : 0));
  SendTo(menu_owner_, platform::kWmMenuSelect, platform::MakeWParam(id, flags),
         static_cast<platform::LParam>(menu_levels_[level].menu));
}

void WindowSystem::ChooseByKey(std::size_t level, std::size_t position) {
  SelectByKey(level, position);
  const platform::MenuItemSpec* item = SelectedItem();
  if (item == nullptr || item->kind == Kind::kSeparator) return;
  if (item->kind == Kind::kCommand) {
    key_choice_ = item->command;
    keys_ended_menu_ = true;
    return;
  }
  const platform::MenuId submenu = item->submenu;
  SendTo(menu_owner_, platform::kWmInitMenuPopup, submenu, static_cast<platform::LParam>(position));
  menu_levels_.push_back(MenuLevel{submenu, std::nullopt});
  MoveMenuSelection(true);
}

void WindowSystem::CloseMenuLevel() {
  if (menu_levels_.size() <= 1) {
    keys_ended_menu_ = true;
    return;
  }
  menu_levels_.pop_back();
}

void WindowSystem::MoveMenuSelection(bool down) {
  const MenuLevel& level = menu_levels_.back();
  const std::vector<platform::MenuItemSpec>& items = menus_[level.menu].items;
  const std::size_t count = items.size();
  if (count == 0) return;
  std::size_t at = level.selected ? *level.selected : (down ? count - 1 : 0);
  for (std::size_t n = 0; n < count; ++n) {
    at = down ? (at + 1) % count : (at + count - 1) % count;
    if (items[at].kind != Kind::kSeparator) {
      SelectByKey(menu_levels_.size() - 1, at);
      return;
    }
  }
}

void WindowSystem::MenuCharacter(char16_t key) {
  if (key == kEnter) {
    if (menu_levels_.back().selected) {
      ChooseByKey(menu_levels_.size() - 1, *menu_levels_.back().selected);
    }
    return;
  }
  if (key == kEscape) {
    CloseMenuLevel();
    return;
  }
  if (key < kFirstPrintable) return;
  const std::size_t level = menu_levels_.size() - 1;
  const platform::MenuId menu = menu_levels_[level].menu;
  if (const auto item = AccessKeyItem(menus_[menu].items, key)) {
    ChooseByKey(level, *item);
    return;
  }
  const platform::LResult answer =
      SendTo(menu_owner_, platform::kWmMenuChar, platform::MakeWParam(key, kMfPopup),
             static_cast<platform::LParam>(menu));
  const std::uint16_t position = platform::LoWord(static_cast<platform::WParam>(answer));
  switch (platform::HiWord(static_cast<platform::WParam>(answer))) {
    case kMncSelect:
      SelectByKey(level, position);
      return;
    case kMncExecute:
      ChooseByKey(level, position);
      return;
    case kMncClose:
      keys_ended_menu_ = true;
      return;
    case kMncIgnore:
    default:
      ++menu_beeps_;
  }
}

void WindowSystem::TypeIntoMenu(std::u16string_view keys) {
  for (const char16_t key : keys) {
    if (menu_levels_.empty() || keys_ended_menu_) return;
    if (menu_key_filter_ != nullptr && menu_key_filter_->FilterMenuKey(platform::kWmChar, key)) {
      continue;
    }
    MenuCharacter(key);
  }
}

void WindowSystem::PressMenuKey(platform::WParam key) {
  if (menu_levels_.empty() || keys_ended_menu_) return;
  if (menu_key_filter_ != nullptr && menu_key_filter_->FilterMenuKey(platform::kWmKeyDown, key)) {
    return;
  }
  const platform::MenuItemSpec* selected = SelectedItem();
  switch (key) {
    case platform::kVkDown:
    case platform::kVkUp:
      MoveMenuSelection(key == platform::kVkDown);
      return;
    case platform::kVkRight:
      if (selected != nullptr && selected->kind == Kind::kSubmenu) {
        ChooseByKey(menu_levels_.size() - 1, *menu_levels_.back().selected);
      }
      return;
    case platform::kVkLeft:
      if (menu_levels_.size() > 1) CloseMenuLevel();
      return;
    case platform::kVkEscape:
      CloseMenuLevel();
      return;
    case platform::kVkReturn:
      MenuCharacter(kEnter);
      return;
    default:
      return;
  }
}

std::vector<std::string> WindowSystem::MenuSelection() const {
  std::vector<std::string> path;
  for (const MenuLevel& level : menu_levels_) {
    const auto it = menus_.find(level.menu);
    if (it == menus_.end() || !level.selected || *level.selected >= it->second.items.size()) break;
    path.push_back(DisplayedCaption(it->second.items[*level.selected].caption));
  }
  return path;
}

}  // namespace sim
