#pragma once

// Text kept one value a line in the program's own files: "\\" for a backslash, "\xHH" (upper-case
// hex) for every control character, line breaks and tabs included, and nothing else escaped, so
// that each text has one spelling and a line or a tab never ends inside one.

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_store.h"

namespace app {

std::string EscapedLineText(std::string_view value);

// The text back, or nothing for an escape that is cut short, unknown, or spells a character
// that needs none.
std::optional<std::string> UnescapedLineText(std::string_view value);

// A local time as "yyyy-mm-dd hh:mm:ss", and back: only that spelling, each field in its range.
std::string TimeText(const platform::LocalTime& time);
std::optional<platform::LocalTime> ReadTimeText(std::string_view text);

}  // namespace app
