#pragma once

// Which program a registered command starts: the part of the registered paths' rules that
// takes a command apart (registered_path.h has the rules whole).

#include <functional>
#include <string>
#include <string_view>

namespace app {

class EntryPaths;

// The file a command starts, or why there is none.
struct CommandProgram {
  // kRefused: the command may not be tried as it stands, whatever is on the disk (an empty or
  // too long path, variables that expand to nothing).
  enum class Kind { kFound, kNoCommand, kMissing, kRefused };
  Kind kind = Kind::kNoCommand;
  std::string reached;     // the file as this program reaches it: through Sysnative for a 64-bit
                           // system program
  std::string named;       // the file as it knows itself
  std::string rest;        // the command after the program's text, exactly
  std::string looked_for;  // kMissing, kRefused: the path that was sought, or the command
};

// Whether a file that may be the program exists.
using FileCheck = std::function<bool(const std::string& path)>;

// The program a command starts in the entry's view, its variables expanded first
// (EntryPaths::ProgramOf tells the rules).
CommandProgram FindCommandProgram(const EntryPaths& paths, std::string_view command,
                                  const FileCheck& exists);

// Whether a command is empty or blanks alone: it names nothing to start.
bool IsBlankCommand(std::string_view command);

// The text from its first character that is not a blank or a tab on.
std::string_view WithoutLeadingBlanks(std::string_view text);

}  // namespace app
