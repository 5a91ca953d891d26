#pragma once

#include <string>

#include "app/program_icon.h"

namespace app {

// One listed program: what its menu items show and launch.
struct ProgramEntry {
  std::string name;
  std::string command;
  ProgramIcon icon = {};
};

}  // namespace app
