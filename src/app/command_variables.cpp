#include "app/command_variables.h"

#include <utility>

#include "platform/text.h"

namespace app {
namespace {

constexpr char kMark = '%';

// A 32-bit process on 64-bit Windows is given the 64-bit values under these other names.
constexpr std::pair<std::string_view, std::string_view> kNative64Names[] = {
    {"ProgramFiles", "ProgramW6432"},
    {"CommonProgramFiles", "CommonProgramW6432"},
    {"PROCESSOR_ARCHITECTURE", "PROCESSOR_ARCHITEW6432"},
};

std::optional<std::string> Native64Variable(const std::string& name, platform::Launcher& launcher) {
  for (const auto& [own, native] : kNative64Names) {
    if (!text::EqualsIgnoringAsciiCase(name, own)) continue;
    if (auto value = launcher.EnvironmentVariable(std::string(native))) return value;
    break;
  }
  return launcher.EnvironmentVariable(name);
}

}  // namespace

std::string ExpandVariables(std::string_view text, const VariableLookup& lookup) {
  std::string out;
  while (!text.empty()) {
    const std::size_t open = text.find(kMark);
    out += text.substr(0, open);
    if (open == std::string_view::npos) break;
    text.remove_prefix(open);
    const std::size_t close = text.find(kMark, 1);
    if (close == std::string_view::npos) {
      out += text;
      break;
    }
    const std::string name(text.substr(1, close - 1));
    const std::optional<std::string> value = name.empty() ? std::nullopt : lookup(name);
    out += value ? std::string_view(*value) : text.substr(0, close + 1);
    text.remove_prefix(close + 1);
  }
  return out;
}

bool SeesNative64Bit(EntryView view, bool wow64) {
  return wow64 && view == EntryView::kMachine64;
}

VariableLookup VariablesOf(EntryView view, bool wow64, platform::Launcher& launcher) {
  if (SeesNative64Bit(view, wow64)) {
    return [&launcher](const std::string& name) { return Native64Variable(name, launcher); };
  }
  return [&launcher](const std::string& name) { return launcher.EnvironmentVariable(name); };
}

}  // namespace app
