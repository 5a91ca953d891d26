#include "app/launch/last_command.h"

#include <exception>

#include "platform/registry.h"

namespace app {

std::string TakeLastCommand(platform::RawRegistry& raw) {
  platform::TRegistry registry(raw);
  try {
    registry.SelectRoot(platform::kHkeyCurrentUser);
    if (!registry.OpenPath(std::string(kSettingsKey), platform::IfMissing::kFail)) return {};
    if (!registry.HasValue(std::string(kLastValue))) return {};
    std::string last = registry.ReadText(std::string(kLastValue));
    // A failed delete leaves the value for the next start; the prompt still comes now.
    registry.RemoveValue(std::string(kLastValue));
    return last;
  } catch (const std::exception&) {
    // An unreadable value is no command of any program, and stays stored.
    return {};
  }
}

void RecordLastCommand(platform::RawRegistry& raw, const std::string& command) {
  platform::TRegistry registry(raw);
  try {
    registry.SelectRoot(platform::kHkeyCurrentUser);
    if (!registry.OpenPath(std::string(kSettingsKey), platform::IfMissing::kCreate)) return;
    registry.WriteText(std::string(kLastValue), command);
  } catch (const std::exception&) {
    // Not stored: the next start asks nothing about this program, which is all that is lost.
  }
}

}  // namespace app
