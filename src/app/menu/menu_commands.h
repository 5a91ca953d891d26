#pragma once

// The menu's fixed items as one table, with the commands they run. Adding a command is a row
// and a handler in menu_commands.cpp, and its caption in texts.h.

#include <span>
#include <string_view>

namespace app {

class MainForm;

// The submenus that the program fills from what it reads.
enum class Slot { kNone, kAllPrograms, kRecentPrograms, kKillProcess, kLeftBehind };

// One fixed item of the menu, in the order shown.
struct MenuRow {
  std::string_view name;
  std::string_view caption;
  std::string_view parent;  // empty: the menu itself
  bool is_default = false;
  void (*command)(MainForm&) = nullptr;
  Slot slot = Slot::kNone;
};

std::span<const MenuRow> MenuRows();

}  // namespace app
