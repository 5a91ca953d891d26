#pragma once

#include <string>

namespace app {

// One listed program: what its menu items show and launch.
struct ProgramEntry {
  std::string name;
  std::string command;
};

}  // namespace app
