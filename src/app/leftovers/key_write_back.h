#pragma once

// A key or value written back from its exact copy, only where nothing is now: a key or value
// already in its place is never overwritten, and what was written is read back whole.

#include <cstdint>
#include <string>

#include "app/copies/key_copy.h"
#include "platform/raw_registry.h"

namespace app {

enum class WriteBack : std::uint8_t {
  kWritten,   // written, and read back as the copy holds it
  kInTheWay,  // a key or value is in its place now: nothing was written
  kFailed,    // it could not be written whole; what was made of it is taken away again
};

// The key at path, with everything under it, made new from the copy.
WriteBack WriteNewKey(platform::RawRegistry& registry, platform::RegKey root,
                      std::uint32_t view_access, const std::string& path, const CopiedKey& copy);

// The value set in the key at path, which is made when missing.
WriteBack WriteNewValue(platform::RawRegistry& registry, platform::RegKey root,
                        std::uint32_t view_access, const std::string& path,
                        const CopiedValue& value);

}  // namespace app
