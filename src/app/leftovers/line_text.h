#pragma once

// Text kept one value a line in the program's own files: "\\" for a backslash, "\xHH" (upper-case
// hex) for every control character, line breaks and tabs included, and nothing else escaped, so
// that each text has one spelling and a line or a tab never ends inside one.

#include <optional>
#include <string>
#include <string_view>

namespace app {

std::string EscapedLineText(std::string_view value);

// The text back, or nothing for an escape that is cut short, unknown, or spells a character
// that needs none.
std::optional<std::string> UnescapedLineText(std::string_view value);

}  // namespace app
