#pragma once

// Where the command line's actions write: the list to standard output or to a file, and one
// line on standard error when something went wrong.

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace app {

// The list written whole: to standard output when file is empty, or else into a file beside
// it that then takes file's place in one step, so that a reader of file never sees half a
// list. The one-line reason when it could not be.
std::optional<std::string> WriteList(platform::Platform& platform, const std::string& file,
                                     std::string_view list);

// The line on standard error, prefixed with the program's name, every control character in it
// a blank. False when there is no standard error to write to.
bool WriteErrorLine(platform::StandardStreams& streams, std::string_view said);

}  // namespace app
