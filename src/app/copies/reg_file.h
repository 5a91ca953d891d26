#pragma once

// A registry key written as regedit writes it, so that opening the file puts the key back
// exactly: UTF-16LE with a BOM, "Windows Registry Editor Version 5.00", "@" for the default
// value. Only text that imports as the very same bytes is written as a quoted string; all
// other data is written as hex of its type, byte for byte.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/copies/key_copy.h"

namespace app {

// The file's bytes for the key under that path, or nothing when a name holds a character that
// a .reg file cannot carry (a line break or another control character).
std::optional<std::vector<std::uint8_t>> RegFileBytes(const CopiedKey& key,
                                                      const std::string& path);

}  // namespace app
