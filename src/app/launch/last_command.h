#pragma once

// The one value the program keeps between runs: the uninstall command it started last.

#include <string>

#include "platform/raw_registry.h"

namespace app {

// Reads the stored command and deletes it; empty when there is none or it cannot be read.
std::string TakeLastCommand(platform::RawRegistry& registry);

// Stores the command, creating the key when missing. A failure is swallowed: losing the hint
// is no reason to keep the user's uninstaller from starting.
void RecordLastCommand(platform::RawRegistry& registry, const std::string& command);

}  // namespace app
