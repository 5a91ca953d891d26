#include "app/paths/registered_command.h"

#include <optional>
#include <string_view>
#include <utility>

#include "app/paths/file_names.h"
#include "app/paths/registered_path.h"
#include "platform/file_dates.h"
#include "platform/text.h"

namespace app {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr char kQuote = '"';
constexpr std::string_view kExe = ".exe";

bool HasFolder(std::string_view path) {
  return path.find_first_of("\\/:") != std::string_view::npos;
}

// CreateProcess's own rule: a name without an extension is an .exe.
std::string WithExtension(std::string_view name) {
  std::string file(name);
  if (text::Extension(file).empty()) file += kExe;
  return file;
}

// The command, its program's text cut off: the candidate and everything after it, exactly.
struct Split {
  std::string candidate;
  std::string_view rest;
};

// The text up to and including the first ".exe" that ends a word.
std::optional<Split> UpToExe(std::string_view command) {
  const std::string upper = text::UpperAscii(command);
  for (std::size_t at = upper.find(".EXE"); at != std::string::npos;
       at = upper.find(".EXE", at + 1)) {
    const std::size_t end = at + kExe.size();
    if (end < command.size() && kBlanks.find(command[end]) == std::string_view::npos) continue;
    return Split{std::string(command.substr(0, end)), command.substr(end)};
  }
  return std::nullopt;
}

CommandProgram NotFound(CommandProgram::Kind kind, std::string looked_for) {
  CommandProgram program;
  program.kind = kind;
  program.looked_for = std::move(looked_for);
  return program;
}

// Finds the program of one command over the system facts of its entry's view.
class Finder {
 public:
  Finder(const EntryPaths& paths, const FileCheck& exists) : paths_(paths), exists_(exists) {}

  CommandProgram Find(std::string_view command) const {
    command = WithoutLeadingBlanks(command);
    if (command.front() == kQuote) return FindQuoted(command);
    return FindUnquoted(command);
  }

 private:
  CommandProgram FindQuoted(std::string_view command) const {
    const std::size_t close = command.find(kQuote, 1);
    const std::string_view path =
        command.substr(1, close == std::string_view::npos ? close : close - 1);
    const std::string_view rest =
        close == std::string_view::npos ? std::string_view{} : command.substr(close + 1);
    if (path.empty()) return Refused({});
    const std::string candidate = WithExtension(path);
    if (!FitsMaxPath(candidate)) return Refused(candidate);
    if (auto found = Locate(candidate, rest)) return std::move(*found);
    return Missing(Sought(candidate));
  }

  // Without an ".exe" to tell where the program ends, the missing one is the whole command.
  CommandProgram FindUnquoted(std::string_view command) const {
    std::string looked_for(command);
    if (const auto split = UpToExe(command)) {
      looked_for = Sought(split->candidate);
      if (!FitsMaxPath(split->candidate)) return Refused(looked_for);
      if (auto found = Locate(split->candidate, split->rest)) return std::move(*found);
    }
    // Each text that ends at a blank, shortest first, and at last the whole command; no
    // longer text can name a file, and trying each of a huge command would take long.
    for (std::size_t end = 0; end <= command.size(); ++end) {
      if (end < command.size() && kBlanks.find(command[end]) == std::string_view::npos) continue;
      const std::string_view prefix = command.substr(0, end);
      if (prefix.empty() || kBlanks.find(prefix.back()) != std::string_view::npos) continue;
      if (!FitsMaxPath(prefix)) break;
      if (auto found = Locate(WithExtension(prefix), command.substr(end))) {
        return std::move(*found);
      }
    }
    return Missing(std::move(looked_for));
  }

  std::optional<CommandProgram> Locate(const std::string& candidate, std::string_view rest) const {
    if (!HasFolder(candidate)) {
      for (const std::string* folder : {&paths_.SystemFolder(), &paths_.WindowsFolder()}) {
        if (folder->empty()) continue;
        if (auto found = Existing(platform::InDirectory(*folder, candidate), rest)) return found;
      }
      return std::nullopt;
    }
    if (!IsAbsolute(candidate)) return std::nullopt;
    return Existing(candidate, rest);
  }

  // The file found, or a look-up that failed otherwise than "not found"; nothing when it is
  // surely not there.
  std::optional<CommandProgram> Existing(const std::string& named, std::string_view rest) const {
    CommandProgram found;
    found.kind = CommandProgram::Kind::kFound;
    found.reached = paths_.Reached(named);
    if (!FitsMaxPath(found.reached)) return std::nullopt;
    const std::uint32_t error = exists_(found.reached);
    if (platform::IsSurelyMissing(error)) return std::nullopt;
    if (error != platform::kFileFound) {
      CommandProgram unreachable = NotFound(CommandProgram::Kind::kUnreachable, named);
      unreachable.error = error;
      return unreachable;
    }
    found.named = named;
    found.rest = std::string(rest);
    return found;
  }

  // What the missing-program box names: a name without a folder as the system folder's file.
  std::string Sought(const std::string& candidate) const {
    if (HasFolder(candidate) || paths_.SystemFolder().empty()) return candidate;
    return platform::InDirectory(paths_.SystemFolder(), candidate);
  }

  static CommandProgram Missing(std::string looked_for) {
    return NotFound(CommandProgram::Kind::kMissing, std::move(looked_for));
  }
  static CommandProgram Refused(std::string looked_for) {
    return NotFound(CommandProgram::Kind::kRefused, std::move(looked_for));
  }

  const EntryPaths& paths_;
  const FileCheck& exists_;
};

}  // namespace

bool IsBlankCommand(std::string_view command) {
  return command.find_first_not_of(kBlanks) == std::string_view::npos;
}

std::string_view WithoutLeadingBlanks(std::string_view text) {
  const std::size_t start = text.find_first_not_of(kBlanks);
  return start == std::string_view::npos ? std::string_view{} : text.substr(start);
}

CommandProgram FindCommandProgram(const EntryPaths& paths, std::string_view command,
                                  const FileCheck& exists) {
  CommandProgram program;
  if (IsBlankCommand(command)) return program;
  const std::string expanded = paths.Expanded(command);
  if (IsBlankCommand(expanded))
    return NotFound(CommandProgram::Kind::kRefused, std::string(command));
  return Finder(paths, exists).Find(expanded);
}

}  // namespace app
