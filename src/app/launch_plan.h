#pragma once

// What starts for a chosen program: decided from its registered command alone, so that the
// decision can be read and tested apart from the menu that asks for it.

#include <string>

#include "platform/launcher.h"

namespace app {

struct LaunchPlan {
  enum class Start {
    kNothing,        // no safe program to start
    kNotice,         // no command: the cannot-uninstall notice, then the tools page
    kShellExecute,   // program opened with arguments as its parameters
    kCreateProcess,  // program run with arguments as its whole command line
  };
  Start start = Start::kNothing;
  std::string program;    // empty for kCreateProcess: the command line's first word runs
  std::string arguments;  // parameters, or the whole command line
  std::string folder;     // working folder; empty: this program's own
  int show = platform::kSwHideWindow;
};

// The plan for a registered uninstall command; system_directory is where the system's own
// programs live (empty when it cannot be told).
LaunchPlan PlanUninstall(const std::string& command, const std::string& system_directory);

// Carries the plan out; kNothing and kNotice start nothing.
void StartPlan(platform::Launcher& launcher, const LaunchPlan& plan);

}  // namespace app
