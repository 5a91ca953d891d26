// Popup menus, message boxes and the nested loop they run while the scripted user answers.

#include <algorithm>
#include <string>

#include "platform/sim/sim_windowing.h"

namespace sim {
namespace {

constexpr platform::WParam kTrackPopupMenuLoop = 1;  // TRUE: the loop of TrackPopupMenu
constexpr platform::WParam kMenuClosedSelect = platform::MakeWParam(0, 0xFFFF);
constexpr std::uint32_t kMbButtonsMask = 0x0F;

int DefaultBoxAnswer(std::uint32_t style) {
  switch (style & kMbButtonsMask) {
    case platform::kMbOk:
      return platform::kIdOk;
    case platform::kMbYesNo:
      return platform::kIdNo;
    default:
      return platform::kIdCancel;
  }
}

MenuNode::Kind NodeKind(platform::MenuItemSpec::Kind kind) {
  switch (kind) {
    case platform::MenuItemSpec::Kind::kSubmenu:
      return MenuNode::Kind::kSubmenu;
    case platform::MenuItemSpec::Kind::kSeparator:
      return MenuNode::Kind::kSeparator;
    case platform::MenuItemSpec::Kind::kCommand:
      break;
  }
  return MenuNode::Kind::kCommand;
}

// Clears a flag however the scope is left.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

platform::MenuId WindowSystem::CreatePopupMenu() {
  if (menu_creation_fails_) return platform::kNoMenu;
  const platform::MenuId id = next_menu_++;
  menus_[id];
  return id;
}

void WindowSystem::DestroyMenu(platform::MenuId menu) {
  const auto it = menus_.find(menu);
  if (it == menus_.end()) return;
  const std::vector<platform::MenuItemSpec> items = std::move(it->second.items);
  menus_.erase(it);
  for (const platform::MenuItemSpec& item : items) {
    if (item.kind == platform::MenuItemSpec::Kind::kSubmenu) DestroyMenu(item.submenu);
  }
}

bool WindowSystem::Reaches(platform::MenuId from, platform::MenuId target) const {
  if (from == target) return true;
  const auto it = menus_.find(from);
  if (it == menus_.end()) return false;
  for (const platform::MenuItemSpec& item : it->second.items) {
    if (item.kind == platform::MenuItemSpec::Kind::kSubmenu && Reaches(item.submenu, target)) {
      return true;
    }
  }
  return false;
}

bool WindowSystem::AppendMenuItem(platform::MenuId menu, const platform::MenuItemSpec& item) {
  const auto it = menus_.find(menu);
  if (it == menus_.end() || it->second.items.size() >= most_items_) return false;
  if (item.kind == platform::MenuItemSpec::Kind::kSubmenu &&
      (!menus_.contains(item.submenu) || Reaches(item.submenu, menu))) {
    return false;
  }
  it->second.items.push_back(item);
  ++appended_items_;
  return true;
}

void WindowSystem::OpenSubmenus(platform::MenuId menu, platform::WindowId owner) {
  for (std::size_t i = 0; i < menus_[menu].items.size(); ++i) {
    const platform::MenuItemSpec item = menus_[menu].items[i];
    if (item.kind != platform::MenuItemSpec::Kind::kSubmenu) continue;
    const int openings = reopens_submenus_ ? 2 : 1;
    for (int n = 0; n < openings; ++n) {
      SendTo(owner, platform::kWmInitMenuPopup, item.submenu, static_cast<platform::LParam>(i));
    }
    OpenSubmenus(item.submenu, owner);
  }
}

std::vector<MenuNode> WindowSystem::Snapshot(platform::MenuId menu) const {
  std::vector<MenuNode> nodes;
  const auto it = menus_.find(menu);
  if (it == menus_.end()) return nodes;
  for (const platform::MenuItemSpec& item : it->second.items) {
    MenuNode node;
    node.caption = item.caption;
    node.displayed = DisplayedCaption(item.caption);
    node.kind = NodeKind(item.kind);
    node.command = item.command;
    node.is_default = item.is_default;
    node.image = static_cast<MenuNode::Image>(item.image);
    node.image_bitmap = item.image_bitmap;
    node.image_data = item.image_data;
    // A submenu destroyed while still appended shows as an empty one.
    if (node.kind == MenuNode::Kind::kSubmenu) node.children = Snapshot(item.submenu);
    nodes.push_back(std::move(node));
  }
  return nodes;
}

WindowSystem::ModalEnd WindowSystem::RunModal(std::int64_t deadline_ms, const char* waiting_for) {
  while (true) {
    actions_.RunDue(now_ms_);
    platform::Message message;
    if (TakeOrdinary(message)) {
      Dispatch(message);
      continue;
    }
    // The quit stays queued for the loop that will take it.
    if (QuitIsNext()) return ModalEnd::kQuit;
    if (now_ms_ >= deadline_ms || keys_ended_menu_) return ModalEnd::kAnswered;
    std::int64_t next = deadline_ms;
    if (const auto due = timers_.NextDue()) next = std::min(next, *due);
    if (const auto action = actions_.NextTime()) next = std::min(next, *action);
    AdvanceTo(next, waiting_for);
  }
}

bool WindowSystem::TrackPopupMenu(platform::MenuId menu, std::uint32_t flags, platform::Point point,
                                  platform::WindowId owner) {
  if (!menus_.contains(menu) || Find(owner) == nullptr || menu_open_) return false;
  FlagScope open(menu_open_);
  tracked_menu_ = menu;
  const std::size_t record = popups_.size();
  popups_.push_back(PopupRecord{now_ms_, point, flags, owner, {}, Snapshot(menu), -1});
  SendTo(owner, platform::kWmEnterMenuLoop, kTrackPopupMenuLoop, 0);
  const bool by_keys = !menu_answers_.empty() && menu_answers_.front().by_keys;
  if (!by_keys) OpenSubmenus(menu, owner);
  popups_[record].items = Snapshot(menu);
  if (menu_answers_.empty()) {
    throw ScriptError("menu shown at t=" + std::to_string(now_ms_) +
                      " with no scripted answer; shown: " + ListCaptions(popups_[record].items));
  }
  MenuAnswer answer = std::move(menu_answers_.front());
  menu_answers_.pop_front();
  if (answer.picker) {
    answer.caption_path = answer.picker(popups_[record].items);
    answer.choose = !answer.caption_path.empty();
  }
  std::optional<std::uint16_t> command;
  if (answer.choose) command = ResolveChoice(popups_[record].items, answer.caption_path);
  if (by_keys) StartMenuKeys(menu, owner);
  const std::int64_t deadline = popups_[record].time_ms + answer.delay_ms;
  const ModalEnd end = RunModal(deadline, "a menu answer");
  if (by_keys) command = key_choice_;
  menu_levels_.clear();
  keys_ended_menu_ = false;
  if (end == ModalEnd::kQuit) command.reset();
  SendTo(owner, platform::kWmMenuSelect, kMenuClosedSelect, 0);
  SendTo(owner, platform::kWmExitMenuLoop, kTrackPopupMenuLoop, 0);
  popups_[record].closed_ms = now_ms_;
  if (command) PostTo(owner, platform::kWmCommand, *command, 0);
  return true;
}

int WindowSystem::ShowMessageBox(platform::WindowId owner, const std::string& text,
                                 const std::string& caption, std::uint32_t style) {
  const std::size_t record = boxes_.size();
  boxes_.push_back(BoxRecord{now_ms_, owner, text, caption, style, 0, -1});
  if (box_answers_.empty()) {
    throw ScriptError("message box shown at t=" + std::to_string(now_ms_) +
                      " with no scripted answer: \"" + caption + "\": \"" + text + "\"");
  }
  const BoxAnswer answer = box_answers_.front();
  box_answers_.pop_front();
  const std::int64_t deadline = boxes_[record].time_ms + answer.delay_ms;
  const bool answered = RunModal(deadline, "a box answer") == ModalEnd::kAnswered;
  const int result = answered ? answer.result : DefaultBoxAnswer(style);
  boxes_[record].answer = result;
  boxes_[record].closed_ms = now_ms_;
  return result;
}

void WindowSystem::ChooseMenuItem(std::vector<std::string> caption_path, std::int64_t delay_ms) {
  menu_answers_.push_back(MenuAnswer{true, std::move(caption_path), delay_ms, nullptr});
}

void WindowSystem::DismissMenu(std::int64_t delay_ms) {
  menu_answers_.push_back(MenuAnswer{false, {}, delay_ms, nullptr});
}

void WindowSystem::AnswerMenuByKeys(std::int64_t within_ms) {
  menu_answers_.push_back(MenuAnswer{false, {}, within_ms, nullptr, true});
}

void WindowSystem::PickMenuItem(MenuPicker picker, std::int64_t delay_ms) {
  menu_answers_.push_back(MenuAnswer{false, {}, delay_ms, std::move(picker)});
}

void WindowSystem::AnswerBox(int result, std::int64_t delay_ms) {
  box_answers_.push_back(BoxAnswer{result, delay_ms});
}

}  // namespace sim
