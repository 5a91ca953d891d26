#pragma once

// Which values of a copy regedit cannot put back as they were: opening the copy file restores
// the key, but such a value comes back with other bytes. Asking before removing an entry that
// holds one names each.

#include <string>
#include <vector>

#include "app/copies/key_copy.h"

namespace app {

// Whether importing the value's line, as RegFileBytes writes it, stores the very same type and
// bytes.
bool RegeditRestoresExactly(const CopiedValue& value);

struct InexactValue {
  std::string key_path;  // the path of the key that holds it, under the copy's path
  std::string name;      // "" for the default value
};

// Every value in the key, or in a key under it, that regedit does not restore exactly, in the
// order the copy file holds them. path is the key's own.
std::vector<InexactValue> InexactValues(const CopiedKey& key, const std::string& path);

}  // namespace app
