#pragma once

// A copy's .reg file read back into the key it was written from. Only what RegFileBytes writes
// is read, line for line: the BOM, the header, each key's "[path]" line in the order the writer
// goes down the tree, each value in the one form the writer gives it, the writer's line breaks in
// hex data and the blank line after each key. Anything else is refused, so that a file that reads
// is one that writing its key again gives byte for byte: what tells whether a copy holds what was
// meant, and what a restore may trust.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "app/copies/key_copy.h"

namespace app {

// No copy file is read past this size: far above any copy of an uninstall entry, and still what a
// 32-bit process can hold. Hex takes up to 6.4 bytes of file for a byte of data and each key
// repeats the path of the keys above it, so no size follows exactly from kMaxCopyBytes.
inline constexpr std::size_t kMaxCopyFileBytes = 8 * kMaxCopyBytes;

// Why a file is refused. Names, paths and strings hold no control character and no surrogate
// without its partner: such a one is a fault of what holds it.
enum class RegFileFault {
  kNone,
  kTooLarge,   // the file is past kMaxCopyFileBytes
  kNotUtf16,   // no BOM, or an odd size
  kHeader,     // not the header and its blank line
  kKeyLine,    // not a "[path]" line under the previous keys, or more after the last key
  kValueName,  // a name neither "@" nor quoted as the writer quotes it
  kValueData,  // data in a form the writer would not give that value
  kLineEnd,    // a line that goes on where the writer's ends
  kCut,        // the file ends inside a key, before the blank line that ends it
  kTooDeep,    // a key more than kMaxCopyDepth below the first
  kTooMuch,    // names and data past what one copy may hold
};

struct RegFileRead {
  RegFileFault fault = RegFileFault::kNone;
  // Where the fault is: the line (from 1) and the byte of the file that does not fit.
  std::size_t line = 0;
  std::size_t offset = 0;
  // The first key's path, and the key with everything under it; its name is the path's last part.
  std::string path;
  CopiedKey key;

  bool ok() const { return fault == RegFileFault::kNone; }
};

// Reads a copy file. Names and data together may take budget bytes, counted as ReadKeyCopy
// counts them; keys go at most kMaxCopyDepth below the first. Each key after the first is a
// subkey of one on the way down to the last, named by its path's last part: the registry holds
// no key name that is empty or has a backslash, and a file of one could not be read back
// exactly, so none is read.
RegFileRead ReadRegFile(std::span<const std::uint8_t> file, std::size_t budget = kMaxCopyBytes);

}  // namespace app
