#include "app/launch/launch_plan.h"

#include <string_view>
#include <utility>

#include "app/entry/uninstall_command.h"
#include "app/paths/file_names.h"
#include "platform/text.h"

namespace app {
namespace {

constexpr char kQuote = '"';
constexpr std::string_view kCommandInterpreter = "cmd.exe";
// No AutoRun commands; strip the outer quotes and run the rest as one command.
constexpr std::string_view kInterpreterSwitches = "/D /S /C ";
// What cmd gives a meaning to even inside its quotes, or that could end them.
constexpr std::string_view kInterpreterSyntax = "%!^&|<>()\"";
// What cmd expands even inside quotes, in the batch file's own path.
constexpr std::string_view kInterpreterExpansion = "%!";

std::string Quoted(std::string_view path) {
  std::string quoted;
  quoted.reserve(path.size() + 2);
  quoted += kQuote;
  quoted += path;
  quoted += kQuote;
  return quoted;
}

LaunchPlan NotStarted(LaunchKind kind, std::string looked_for) {
  LaunchPlan plan;
  plan.kind = kind;
  plan.looked_for = std::move(looked_for);
  return plan;
}

// cmd.exe reads a batch file's command line as its own syntax; only arguments it takes as
// plain text pass, and the batch file goes in quotes.
LaunchPlan StartBatch(const CommandProgram& batch, const EntryPaths& paths) {
  const std::string_view arguments = WithoutLeadingBlanks(batch.rest);
  const bool plain = arguments.find_first_of(kInterpreterSyntax) == std::string_view::npos &&
                     batch.named.find_first_of(kInterpreterExpansion) == std::string::npos;
  const std::string interpreter = platform::InDirectory(paths.SystemFolder(), kCommandInterpreter);
  if (!plain || interpreter.empty()) return NotStarted(LaunchKind::kRefused, batch.named);
  std::string inner = Quoted(batch.named);
  if (!arguments.empty()) {
    inner += ' ';
    inner += arguments;
  }
  LaunchPlan plan;
  plan.kind = LaunchKind::kStart;
  plan.program = paths.Reached(interpreter);
  plan.arguments = std::string(kInterpreterSwitches) + Quoted(inner);
  plan.command_line = Quoted(interpreter) + " " + plan.arguments;
  plan.directory = std::string(FolderOf(batch.named));
  return plan;
}

LaunchPlan Start(const CommandProgram& found, const EntryPaths& paths) {
  if (IsBatchFile(found.named)) return StartBatch(found, paths);
  LaunchPlan plan;
  plan.kind = LaunchKind::kStart;
  plan.program = found.reached;
  plan.command_line = Quoted(found.named) + found.rest;
  plan.arguments = std::string(WithoutLeadingBlanks(found.rest));
  plan.directory = std::string(FolderOf(found.named));
  return plan;
}

}  // namespace

LaunchPlan PlanUninstall(const ProgramEntry& program, const PathSystem& system) {
  const EntryPaths paths(system, program.view);
  const CommandProgram found = paths.ProgramOf(UninstallCommand(program));
  switch (found.kind) {
    case CommandProgram::Kind::kNoCommand:
      return LaunchPlan{};
    case CommandProgram::Kind::kMissing:
      return NotStarted(LaunchKind::kMissing, found.looked_for);
    case CommandProgram::Kind::kRefused:
      return NotStarted(LaunchKind::kRefused, found.looked_for);
    case CommandProgram::Kind::kUnreachable: {
      LaunchPlan plan = NotStarted(LaunchKind::kUnreachable, found.looked_for);
      plan.program = found.looked_for;
      plan.error = found.error;
      return plan;
    }
    case CommandProgram::Kind::kFound:
      break;
  }
  return Start(found, paths);
}

}  // namespace app
