#pragma once

// Environment variables in an uninstall command, expanded as the system expands them, in the
// environment of the registry view the entry came from. Text values and expandable ones alike
// are expanded: authors of either kind wrote them for a command interpreter that did.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/program_entry.h"
#include "platform/launcher.h"

namespace app {

// One variable's value by name; nothing when it is not set.
using VariableLookup = std::function<std::optional<std::string>(const std::string&)>;

// Replaces every %NAME% whose variable is set by its value, as ExpandEnvironmentStrings does.
// An unset name keeps its two "%" and the text between, a "%" without a partner stays, and
// the scan goes on after them: no value is expanded again.
std::string ExpandVariables(std::string_view text, const VariableLookup& lookup);

// Whether an entry of that view runs as a 64-bit program would: read through the 64-bit view
// of a 64-bit system (wow64: this 32-bit program runs on one).
bool SeesNative64Bit(EntryView view, bool wow64);

// The variables an entry's command sees: this process's own, except that an entry that sees
// the 64-bit system gets the 64-bit program folders and processor, as a 64-bit program would.
VariableLookup VariablesOf(EntryView view, bool wow64, platform::Launcher& launcher);

}  // namespace app
