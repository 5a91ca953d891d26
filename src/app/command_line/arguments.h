#pragma once

// A Windows command line split into its arguments, and arguments joined into one, by the rules
// that programs built with Microsoft's C runtime follow: blanks part arguments outside quotes,
// backslashes are literal unless a quote follows them. Doing it here keeps shell32 out of the
// start.

#include <string>
#include <string_view>
#include <vector>

namespace app {

// The arguments after the program's own name, as wWinMain is given them.
std::vector<std::string> SplitArguments(std::string_view command_line);

// The argument as it must be written for SplitArguments to give it back unchanged.
std::string QuotedArgument(std::string_view argument);

std::string JoinedArguments(const std::vector<std::string>& arguments);

}  // namespace app
