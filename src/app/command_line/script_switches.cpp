#include <array>
#include <optional>

#include "app/command_line/command_line.h"
#include "platform/text.h"

namespace app {
namespace {

enum class Switch { kList, kListCsv, kUninstall, kLeftovers, kAll, kQuiet, kRemove };

struct KnownSwitch {
  std::string_view spelling;  // upper case: switches are read in any letter case
  Switch meaning;
  bool action;
};

constexpr std::array<KnownSwitch, 7> kSwitches{{
    {"/LIST", Switch::kList, true},
    {"/LIST:CSV", Switch::kListCsv, true},
    {"/UNINSTALL", Switch::kUninstall, true},
    {"/LEFTOVERS", Switch::kLeftovers, true},
    {"/ALL", Switch::kAll, false},
    {"/QUIET", Switch::kQuiet, false},
    {"/REMOVE", Switch::kRemove, false},
}};

// Longer than any id or path a message needs to show whole.
constexpr std::size_t kMostShownLength = 300;

Command UsageError(std::string error) {
  return Command{.kind = CommandKind::kUsageError, .error = std::move(error)};
}

// An argument as a one-line message quotes it: control characters would break the line, and a
// long one is cut.
std::string Shown(std::string_view argument) {
  std::string shown = "\"";
  for (const char c : argument.substr(0, kMostShownLength)) {
    shown += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
  }
  if (argument.size() > kMostShownLength) shown += "...";
  return shown + "\"";
}

std::optional<KnownSwitch> SwitchOf(std::string_view argument) {
  const std::string upper = text::UpperAscii(argument);
  for (const KnownSwitch& known : kSwitches) {
    if (known.spelling == upper) return known;
  }
  return std::nullopt;
}

// The command line sorted out: one action, the switches that go with it, and the rest.
struct Sorted {
  std::optional<Switch> action;
  std::string action_text;
  bool all = false;
  bool quiet = false;
  bool remove = false;
  std::vector<std::string> operands;
};

// Fills sorted; the usage error of the first argument that cannot be, if any.
std::optional<std::string> Sort(const std::vector<std::string>& arguments, Sorted& sorted) {
  for (const std::string& argument : arguments) {
    if (!argument.starts_with('/')) {
      sorted.operands.push_back(argument);
      continue;
    }
    const std::optional<KnownSwitch> known = SwitchOf(argument);
    if (!known) return "Unknown switch " + Shown(argument) + ".";
    if (known->action) {
      if (sorted.action) {
        return "One action at a time: " + Shown(sorted.action_text) + " and " + Shown(argument) +
               ".";
      }
      sorted.action = known->meaning;
      sorted.action_text = argument;
      continue;
    }
    bool& flag = known->meaning == Switch::kAll     ? sorted.all
                 : known->meaning == Switch::kQuiet ? sorted.quiet
                                                    : sorted.remove;
    if (flag) return Shown(argument) + " is given twice.";
    flag = true;
  }
  return std::nullopt;
}

Command ListFrom(const Sorted& sorted) {
  if (sorted.quiet) return UsageError("/quiet goes with /uninstall, not with /list.");
  if (sorted.remove) return UsageError("/remove goes with /leftovers, not with /list.");
  if (sorted.operands.size() > 1) {
    return UsageError("/list writes one file at most, not " + Shown(sorted.operands[0]) + " and " +
                      Shown(sorted.operands[1]) + ".");
  }
  if (sorted.operands.size() == 1 && sorted.operands[0].empty()) {
    return UsageError("The file to write the list to has no name.");
  }
  Command command{.kind = CommandKind::kList};
  command.list.format = *sorted.action == Switch::kListCsv ? ListFormat::kCsv : ListFormat::kJson;
  command.list.all = sorted.all;
  if (!sorted.operands.empty()) command.list.file = sorted.operands[0];
  return command;
}

Command UninstallFrom(const Sorted& sorted) {
  if (sorted.all) return UsageError("/all goes with /list, not with /uninstall.");
  if (sorted.remove) return UsageError("/remove goes with /leftovers, not with /uninstall.");
  if (sorted.operands.size() != 1) {
    return UsageError("/uninstall takes one program's id, as /list gives it.");
  }
  const std::string& id = sorted.operands[0];
  std::optional<EntryId> entry = ParseEntryId(id);
  if (!entry) return UsageError(Shown(id) + " is not a program's id as /list gives it.");
  Command command{.kind = CommandKind::kUninstall};
  command.uninstall = UninstallRequest{.id = id, .entry = std::move(*entry), .quiet = sorted.quiet};
  return command;
}

Command LeftoversFrom(const Sorted& sorted) {
  if (sorted.all || sorted.quiet) return UsageError("/leftovers takes only /remove and a record.");
  if (!sorted.remove) {
    if (!sorted.operands.empty()) return UsageError("/leftovers takes a record only with /remove.");
    return Command{.kind = CommandKind::kLeftovers};
  }
  if (sorted.operands.size() != 1 || sorted.operands[0].empty()) {
    return UsageError("/leftovers /remove takes one record, as /leftovers names it.");
  }
  return Command{.kind = CommandKind::kRemoveLeftovers, .record = sorted.operands[0]};
}

}  // namespace

Command ParseScriptCommand(const std::vector<std::string>& arguments) {
  Sorted sorted;
  if (const auto error = Sort(arguments, sorted)) return UsageError(*error);
  if (!sorted.action) {
    return UsageError("No action: give /list, /list:csv, /uninstall or /leftovers, not " +
                      Shown(arguments[0]) + ".");
  }
  if (*sorted.action == Switch::kUninstall) return UninstallFrom(sorted);
  if (*sorted.action == Switch::kLeftovers) return LeftoversFrom(sorted);
  return ListFrom(sorted);
}

}  // namespace app
