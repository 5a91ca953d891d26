#include "app/launch_plan.h"

#include <string_view>

#include "platform/text.h"

namespace app {
namespace {

// Windows Installer commands start directly; the command interpreter would only add a window.
constexpr std::string_view kMsiExec = "MSIEXEC.EXE";
constexpr std::string_view kCommandInterpreter = "cmd.exe";
// What the system's search would add to a program named without an extension.
constexpr std::string_view kProgramExtension = ".exe";
constexpr std::string_view kBlanks = " \t";

// The interpreter strips the outer pair of quotes and runs the rest as written, so a command
// that begins with a quoted path keeps its own quotes.
std::string InterpreterParameters(const std::string& command) {
  return "/C \"" + command + "\"";
}

// The program a command line starts: the text inside its leading quotes, or its first word.
std::string_view ProgramOf(std::string_view command) {
  const auto start = command.find_first_not_of(kBlanks);
  if (start == std::string_view::npos) return {};
  command.remove_prefix(start);
  if (command.front() == '"') return text::Before(command.substr(1), "\"");
  return command.substr(0, command.find_first_of(kBlanks));
}

bool HasDirectory(std::string_view program) {
  return program.find_first_of("\\/:") != std::string_view::npos;
}

LaunchPlan Nothing() {
  return LaunchPlan{};
}

// A Windows Installer command starts as registered. One that names its program without a
// directory ("MsiExec.exe /X{...}") runs the system's program of that name: the system's search
// would look in this program's own folder first, where anyone may have dropped a file.
LaunchPlan InstallerPlan(const std::string& command, const std::string& system_directory) {
  LaunchPlan plan{LaunchPlan::Start::kCreateProcess, "", command, "",
                  platform::kSwShowNormalWindow};
  const std::string_view program = ProgramOf(command);
  if (program.empty() || HasDirectory(program)) return plan;
  std::string file(program);
  if (text::Extension(file).empty()) file += kProgramExtension;
  plan.program = platform::InDirectory(system_directory, file);
  if (plan.program.empty()) return Nothing();  // nothing is better than a stranger's program
  return plan;
}

LaunchPlan InterpreterPlan(const std::string& command, const std::string& system_directory) {
  const std::string interpreter = platform::InDirectory(system_directory, kCommandInterpreter);
  if (interpreter.empty()) return Nothing();  // nothing is better than a stranger's program
  return LaunchPlan{LaunchPlan::Start::kShellExecute, interpreter, InterpreterParameters(command),
                    "", platform::kSwHideWindow};
}

}  // namespace

LaunchPlan PlanUninstall(const std::string& command, const std::string& system_directory) {
  if (command.empty()) {
    LaunchPlan notice;
    notice.start = LaunchPlan::Start::kNotice;
    return notice;
  }
  if (text::Pos(kMsiExec, text::UpperAscii(command)) != 0) {
    return InstallerPlan(command, system_directory);
  }
  return InterpreterPlan(command, system_directory);
}

void StartPlan(platform::Launcher& launcher, const LaunchPlan& plan) {
  switch (plan.start) {
    case LaunchPlan::Start::kShellExecute:
      launcher.Execute(platform::kNoWindow, "", plan.program, plan.arguments, plan.folder,
                       plan.show);
      return;
    case LaunchPlan::Start::kCreateProcess:
      launcher.StartCommandLine(plan.program, plan.arguments, plan.show);
      return;
    case LaunchPlan::Start::kNothing:
    case LaunchPlan::Start::kNotice:
      return;
  }
}

}  // namespace app
