#pragma once

#include <string>

namespace app {

// What an uninstall entry tells of its program's icon, read while its key is open.
struct ProgramIcon {
  std::string display_icon;  // "DisplayIcon" as registered: "path,index", maybe quoted
  bool view64 = false;       // read in the 64-bit view: its variables and system folder are those
  std::string product_code;  // a Windows Installer entry's product code; empty for others
};

}  // namespace app
