#include "app/launch_plan.h"

#include <optional>
#include <string_view>
#include <utility>

#include "app/command_variables.h"
#include "app/file_names.h"
#include "app/windows_installer.h"
#include "platform/text.h"

namespace app {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr char kQuote = '"';
constexpr char kBackslash = '\\';
constexpr std::string_view kExe = ".exe";
constexpr std::string_view kSysnative = "Sysnative";
constexpr std::string_view kCommandInterpreter = "cmd.exe";
// No AutoRun commands; strip the outer quotes and run the rest as one command.
constexpr std::string_view kInterpreterSwitches = "/D /S /C ";
// What cmd gives a meaning to even inside its quotes, or that could end them.
constexpr std::string_view kInterpreterSyntax = "%!^&|<>()\"";
// What cmd expands even inside quotes, in the batch file's own path.
constexpr std::string_view kInterpreterExpansion = "%!";
// MAX_PATH, its terminator included. This program is not long-path aware: no longer path
// names a file it can start, and trying each longer text of a huge command would take long.
constexpr std::size_t kMaxPath = 260;

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(kBlanks) == std::string_view::npos;
}

std::string_view TrimStart(std::string_view text) {
  const std::size_t start = text.find_first_not_of(kBlanks);
  return start == std::string_view::npos ? std::string_view{} : text.substr(start);
}

// How many UTF-16 units the text takes: every byte but a continuation byte starts one, and a
// four-byte form is a pair.
std::size_t Utf16Length(std::string_view text) {
  std::size_t units = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) != 0x80) ++units;
    if (byte >= 0xF0) ++units;
  }
  return units;
}

bool FitsPath(std::string_view path) {
  return Utf16Length(path) < kMaxPath;
}

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool HasFolder(std::string_view path) {
  return path.find_first_of("\\/:") != std::string_view::npos;
}

// A drive's root ("C:\") or a server's share ("\\server\share"): what the current folder and
// the current drive play no part in.
bool IsAbsolute(std::string_view path) {
  const bool drive = path.size() >= 3 && path[1] == ':' && IsSeparator(path[2]) &&
                     ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  const bool server = path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
  return drive || server;
}

std::string_view FolderOf(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\/");
  if (cut == std::string_view::npos) return {};
  // A drive's root keeps its separator: "C:" alone would be the drive's current folder.
  if (cut == 2 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, cut);
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         text::EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

// CreateProcess's own rule: a name without an extension is an .exe.
std::string WithExtension(std::string_view name) {
  std::string file(name);
  if (text::Extension(file).empty()) file += kExe;
  return file;
}

std::string Quoted(std::string_view path) {
  std::string quoted;
  quoted.reserve(path.size() + 2);
  quoted += kQuote;
  quoted += path;
  quoted += kQuote;
  return quoted;
}

std::string Joined(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && !IsSeparator(path.back())) path += kBackslash;
  return path + std::string(name);
}

// A program that exists: the path through which this program reaches it, and the path by
// which it knows itself (they differ for a 64-bit program in the system folder).
struct Found {
  std::string reached;
  std::string named;
};

// The command, its program's text cut off: the candidate and everything after it, exactly.
struct Split {
  std::string candidate;
  std::string_view rest;
};

class Planner {
 public:
  Planner(const ProgramEntry& program, const LaunchSystem& system)
      : system_(system),
        native64_(SeesNative64Bit(program.view, system.wow64)),
        system_folder_(system.launcher.SystemDirectory()),
        windows_folder_(system.launcher.WindowsDirectory()) {}

  LaunchPlan Plan(std::string_view command) {
    command = TrimStart(command);
    if (command.front() == kQuote) return PlanQuoted(command);
    return PlanUnquoted(command);
  }

 private:
  LaunchPlan PlanQuoted(std::string_view command) {
    const std::size_t close = command.find(kQuote, 1);
    const std::string_view path =
        command.substr(1, close == std::string_view::npos ? close : close - 1);
    const std::string_view rest =
        close == std::string_view::npos ? std::string_view{} : command.substr(close + 1);
    if (path.empty()) return Missing({});
    const std::string candidate = WithExtension(path);
    if (const auto found = Locate(candidate)) return Start(*found, rest);
    return Missing(Sought(candidate));
  }

  // Without an ".exe" to tell where the program ends, the box names the whole command.
  LaunchPlan PlanUnquoted(std::string_view command) {
    std::string looked_for(command);
    if (const auto split = UpToExe(command)) {
      looked_for = Sought(split->candidate);
      if (const auto found = Locate(split->candidate)) return Start(*found, split->rest);
    }
    // Each text that ends at a blank, shortest first, and at last the whole command.
    for (std::size_t end = 0; end <= command.size(); ++end) {
      if (end < command.size() && kBlanks.find(command[end]) == std::string_view::npos) continue;
      const std::string_view prefix = command.substr(0, end);
      if (prefix.empty() || kBlanks.find(prefix.back()) != std::string_view::npos) continue;
      if (!FitsPath(prefix)) break;
      if (const auto found = Locate(WithExtension(prefix))) {
        return Start(*found, command.substr(end));
      }
    }
    return Missing(looked_for);
  }

  // The text up to and including the first ".exe" that ends a word.
  static std::optional<Split> UpToExe(std::string_view command) {
    const std::string upper = text::UpperAscii(command);
    for (std::size_t at = upper.find(".EXE"); at != std::string::npos;
         at = upper.find(".EXE", at + 1)) {
      const std::size_t end = at + kExe.size();
      if (end < command.size() && kBlanks.find(command[end]) == std::string_view::npos) continue;
      return Split{std::string(command.substr(0, end)), command.substr(end)};
    }
    return std::nullopt;
  }

  std::optional<Found> Locate(const std::string& candidate) const {
    if (!HasFolder(candidate)) {
      for (const std::string* folder : {&system_folder_, &windows_folder_}) {
        if (folder->empty()) continue;
        if (auto found = Existing(Joined(*folder, candidate))) return found;
      }
      return std::nullopt;
    }
    if (!IsAbsolute(candidate)) return std::nullopt;
    return Existing(candidate);
  }

  std::optional<Found> Existing(const std::string& named) const {
    Found found{Reached(named), named};
    if (!FitsPath(found.reached) || !system_.files.FileExists(found.reached)) return std::nullopt;
    return found;
  }

  // A 32-bit program is shown the 32-bit system folder under the system folder's name; the
  // 64-bit one it reaches through Sysnative.
  std::string Reached(const std::string& named) const {
    if (!native64_ || system_folder_.empty() || windows_folder_.empty()) return named;
    const std::size_t length = system_folder_.size();
    if (!StartsWithIgnoringCase(named, system_folder_)) return named;
    if (named.size() > length && !IsSeparator(named[length])) return named;
    return Joined(windows_folder_, kSysnative) + named.substr(length);
  }

  // What the missing-program box names: a name without a folder as the system folder's file.
  std::string Sought(const std::string& candidate) const {
    if (HasFolder(candidate) || system_folder_.empty()) return candidate;
    return Joined(system_folder_, candidate);
  }

  LaunchPlan Start(const Found& found, std::string_view rest) const {
    if (IsBatchFile(found.named)) return StartBatch(found, rest);
    LaunchPlan plan;
    plan.kind = LaunchKind::kStart;
    plan.program = found.reached;
    plan.command_line = Quoted(found.named) + std::string(rest);
    plan.arguments = std::string(TrimStart(rest));
    plan.directory = std::string(FolderOf(found.named));
    return plan;
  }

  // cmd.exe reads a batch file's command line as its own syntax; only arguments it takes as
  // plain text pass, and the batch file goes in quotes.
  LaunchPlan StartBatch(const Found& batch, std::string_view rest) const {
    const std::string_view arguments = TrimStart(rest);
    const bool plain = arguments.find_first_of(kInterpreterSyntax) == std::string_view::npos &&
                       batch.named.find_first_of(kInterpreterExpansion) == std::string::npos;
    if (!plain || system_folder_.empty()) return Missing(batch.named);
    const std::string interpreter = Joined(system_folder_, kCommandInterpreter);
    std::string inner = Quoted(batch.named);
    if (!arguments.empty()) {
      inner += ' ';
      inner += arguments;
    }
    LaunchPlan plan;
    plan.kind = LaunchKind::kStart;
    plan.program = Reached(interpreter);
    plan.arguments = std::string(kInterpreterSwitches) + Quoted(inner);
    plan.command_line = Quoted(interpreter) + " " + plan.arguments;
    plan.directory = std::string(FolderOf(batch.named));
    return plan;
  }

  static LaunchPlan Missing(std::string looked_for) {
    LaunchPlan plan;
    plan.kind = LaunchKind::kMissing;
    plan.looked_for = std::move(looked_for);
    return plan;
  }

  const LaunchSystem& system_;
  const bool native64_;
  const std::string system_folder_;
  const std::string windows_folder_;
};

}  // namespace

std::string UninstallCommand(const ProgramEntry& program) {
  if (IsBlank(program.command) && !program.product_code.empty()) {
    return InstallerRemoveCommand(program.product_code);
  }
  return program.command;
}

LaunchPlan PlanUninstall(const ProgramEntry& program, const LaunchSystem& system) {
  const std::string command = UninstallCommand(program);
  if (IsBlank(command)) return LaunchPlan{};
  const std::string expanded =
      ExpandVariables(command, VariablesOf(program.view, system.wow64, system.launcher));
  if (IsBlank(expanded)) {
    LaunchPlan plan;
    plan.kind = LaunchKind::kMissing;
    plan.looked_for = command;
    return plan;
  }
  return Planner(program, system).Plan(expanded);
}

}  // namespace app
