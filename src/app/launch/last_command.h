#pragma once

// The one value the program keeps between runs: the uninstall command it started last.

#include <string>
#include <string_view>

#include "platform/raw_registry.h"

namespace app {

// Where this program keeps its one value between runs.
inline constexpr std::string_view kSettingsKey = "Software\\Quillon\\Tapwise Uninstaller";
inline constexpr std::string_view kLastValue = "Last";

// Reads the stored command and deletes it; empty when there is none or it cannot be read.
std::string TakeLastCommand(platform::RawRegistry& registry);

// Stores the command, creating the key when missing. A failure is swallowed: losing the hint
// is no reason to keep the user's uninstaller from starting.
void RecordLastCommand(platform::RawRegistry& registry, const std::string& command);

}  // namespace app
