#pragma once

// Reading .reg files, the format regedit imports, so that one fixture file feeds both the
// in-memory registry and a real one:
//
//   Windows Registry Editor Version 5.00      (or REGEDIT4; optional, first line only)
//   ; a comment
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Foo]          creates the key and its parents (HKLM, HKCU too)
//   [-HKEY_CURRENT_USER\Software\Old]          deletes the key with its subkeys
//   "Name"="text with \\ and \""               REG_SZ
//   @="default value"                          the unnamed value
//   "Count"=dword:0000000a                     REG_DWORD
//   "Blob"=hex:01,02,\                         REG_BINARY; a trailing backslash continues
//     03                                       the line
//   "Path"=hex(2):25,00,41,00,00,00            any type by number; REG_EXPAND_SZ here
//   "Gone"=-                                   deletes the value
//
// A file is UTF-8 (with or without a BOM), or UTF-16LE with its BOM, as regedit writes it.
// Operations carry data as the registry stores it: a quoted text becomes UTF-16LE with its
// terminator; text types (1, 2, 7) given as hex are taken byte for byte in a version 5.00 file
// (odd counts too) and widened from single bytes in a REGEDIT4 file. A long line may go on
// after a trailing backslash, as regedit wraps hex data.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/raw_registry.h"

namespace sim {

struct RegTextOperation {
  enum class Kind { kCreateKey, kDeleteKey, kSetValue, kDeleteValue };
  Kind kind = Kind::kCreateKey;
  int line = 0;
  platform::RegKey root = platform::kNoKey;
  std::string path;  // physical, relative to root; parts separated by "\"
  std::string name;  // values only; "" is the default value
  std::uint32_t type = platform::kRegNone;
  std::vector<std::uint8_t> data;
};

// The file's operations in order. Throws std::invalid_argument("line N: ...") when malformed.
std::vector<RegTextOperation> ParseRegText(std::string_view text);

// UTF-16LE bytes to the program's text (UTF-8, a lone surrogate as WTF-8), zero code units
// included. Throws std::invalid_argument on an odd byte count.
std::string Utf16LeToUtf8(const std::vector<std::uint8_t>& bytes);

}  // namespace sim
