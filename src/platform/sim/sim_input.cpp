// The scripted user's keyboard and mouse, and how the simulated controls answer them.

#include <algorithm>

#include "platform/sim/sim_windowing.h"

namespace sim {
namespace {

using platform::WindowId;
using platform::WindowKind;

constexpr platform::MessageId kWmSysKeyUp = 0x0105;
constexpr platform::MessageId kWmLButtonUp = 0x0202;

platform::WParam ClickedCommand(int control_id) {
  return platform::MakeWParam(static_cast<std::uint16_t>(control_id),
                              static_cast<std::uint16_t>(platform::kBnClicked));
}

}  // namespace

void WindowSystem::NoteModifiers(const platform::Message& message) {
  if (message.id == platform::kWmKeyDown || message.id == platform::kWmKeyUp) {
    shift_down_ = (message.lparam & kShiftBit) != 0;
  }
}

WindowId WindowSystem::FormOf(WindowId window) const {
  const WindowState* state = Find(window);
  if (state == nullptr) return platform::kNoWindow;
  return IsControl(state->desc.kind) ? state->desc.parent : window;
}

bool WindowSystem::TakesInput(WindowId window) const {
  for (WindowId id : {window, FormOf(window)}) {
    const WindowState* state = Find(id);
    if (state == nullptr || !state->visible || !state->enabled) return false;
  }
  return true;
}

void WindowSystem::PressKey(platform::WParam key, Modifier modifier) {
  if (focus_ == platform::kNoWindow || !TakesInput(focus_)) return;
  const bool alt = modifier == Modifier::kAlt;
  const platform::LParam flags = modifier == Modifier::kShift ? kShiftBit : 0;
  PostTo(focus_, alt ? platform::kWmSysKeyDown : platform::kWmKeyDown, key, flags);
  PostTo(focus_, alt ? kWmSysKeyUp : platform::kWmKeyUp, key, flags);
}

void WindowSystem::Click(WindowId window) {
  if (!TakesInput(window)) return;
  const WindowState* state = Find(window);
  if (state->desc.kind == WindowKind::kCheckBox || state->desc.kind == WindowKind::kButton) {
    SetFocus(window);
  }
  PostTo(window, kWmLButtonUp, 0, 0);
}

void WindowSystem::ClickListRow(WindowId list, std::size_t row) {
  WindowState* state = Find(list);
  if (!TakesInput(list) || state == nullptr || row >= state->list.rows.size()) return;
  SetFocus(list);
  state->list.selected = row;
  PostTo(list, platform::kWmKeyDown, platform::kVkSpace, 0);
}

void WindowSystem::ClickCloseButton(WindowId window) {
  if (!TakesInput(window)) return;
  PostTo(window, platform::kWmSysCommand, platform::kScClose, 0);
}

WindowId WindowSystem::FindByCaption(std::string_view caption) const {
  for (const auto& [id, state] : windows_) {
    if (state.desc.caption == caption) return id;
  }
  return platform::kNoWindow;
}

// A check list's keys, as a report list view answers them.
void WindowSystem::ListKey(ListState& list, platform::WParam key) {
  if (list.rows.empty()) return;
  if (key == platform::kVkDown) list.selected = std::min(list.selected + 1, list.rows.size() - 1);
  if (key == platform::kVkUp && list.selected > 0) --list.selected;
  if (key != platform::kVkSpace) return;
  platform::RowCheck& check = list.rows[list.selected].check;
  if (check == platform::RowCheck::kNone) return;
  check = check == platform::RowCheck::kChecked ? platform::RowCheck::kUnchecked
                                                : platform::RowCheck::kChecked;
}

platform::LResult WindowSystem::ControlProc(WindowId window, WindowState& state,
                                            platform::MessageId id, platform::WParam wparam) {
  const WindowKind kind = state.desc.kind;
  if (kind == WindowKind::kCheckList) {
    if (id == platform::kWmKeyDown) ListKey(state.list, wparam);
    return 0;
  }
  if (kind == WindowKind::kCheckBox && id == platform::kBmSetCheck) state.check = wparam;
  if (kind == WindowKind::kCheckBox && id == platform::kBmGetCheck) {
    return static_cast<platform::LResult>(state.check);
  }
  const bool clicked =
      id == kWmLButtonUp || (id == platform::kWmKeyUp && wparam == platform::kVkSpace);
  if (!clicked || (kind != WindowKind::kCheckBox && kind != WindowKind::kButton)) return 0;
  if (kind == WindowKind::kCheckBox) {
    state.check =
        state.check == platform::kBstChecked ? platform::kBstUnchecked : platform::kBstChecked;
  }
  const WindowId form = state.desc.parent;
  SendTo(form, platform::kWmCommand, ClickedCommand(state.desc.control_id),
         static_cast<platform::LParam>(window));
  return 0;
}

void WindowSystem::AddListColumn(WindowId list, const std::string& caption, int width) {
  if (WindowState* state = Find(list)) {
    state->list.columns.push_back(caption);
    state->list.widths.push_back(width);
  }
}

void WindowSystem::SetListColumnWidth(WindowId list, std::size_t column, int width) {
  WindowState* state = Find(list);
  if (state != nullptr && column < state->list.widths.size()) state->list.widths[column] = width;
}

void WindowSystem::AddListRow(WindowId list, const std::vector<std::string>& cells,
                              platform::RowCheck check) {
  if (WindowState* state = Find(list)) state->list.rows.push_back({cells, check});
}

bool WindowSystem::ListRowChecked(WindowId list, std::size_t row) {
  const WindowState* state = Find(list);
  return state != nullptr && row < state->list.rows.size() &&
         state->list.rows[row].check == platform::RowCheck::kChecked;
}

const WindowSystem::ListState* WindowSystem::ListOf(WindowId list) const {
  const WindowState* state = Find(list);
  return state == nullptr ? nullptr : &state->list;
}

}  // namespace sim
