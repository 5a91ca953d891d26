#pragma once

// Which program a registered command starts: the part of the registered paths' rules that
// takes a command apart (registered_path.h has the rules whole).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace app {

class EntryPaths;

// The file a command starts, or why there is none.
struct CommandProgram {
  // kRefused: the command may not be tried as it stands, whatever is on the disk (an empty or
  // too long path, variables that expand to nothing). kUnreachable: whether the file is there
  // could not be told (an unreachable share, a drive not ready, a folder that may not be read);
  // error says why.
  enum class Kind { kFound, kNoCommand, kMissing, kRefused, kUnreachable };
  Kind kind = Kind::kNoCommand;
  std::string reached;      // the file as this program reaches it: through Sysnative for a 64-bit
                            // system program
  std::string named;        // the file as it knows itself
  std::string rest;         // the command after the program's text, exactly
  std::string looked_for;   // kMissing, kRefused, kUnreachable: the path that was sought, or the
                            // command
  std::uint32_t error = 0;  // kUnreachable: the system's error
};

// Whether a file that may be the program exists: FileDates::FindFile's answer.
using FileCheck = std::function<std::uint32_t(const std::string& path)>;

// The program a command starts in the entry's view, its variables expanded first
// (EntryPaths::ProgramOf tells the rules). Of several candidates, the first that is found, or
// whose look-up fails otherwise than "not found", decides.
CommandProgram FindCommandProgram(const EntryPaths& paths, std::string_view command,
                                  const FileCheck& exists);

// Whether a command is empty or blanks alone: it names nothing to start.
bool IsBlankCommand(std::string_view command);

// The text from its first character that is not a blank or a tab on.
std::string_view WithoutLeadingBlanks(std::string_view text);

}  // namespace app
