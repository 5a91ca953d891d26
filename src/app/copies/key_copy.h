#pragma once

// A registry key as it is stored, with everything under it: each value's name, type and raw
// bytes (text as UTF-16LE, odd counts kept) and each subkey in turn. What a copy of an uninstall
// entry is made from, and what tells whether the entry was deleted, partly deleted or left.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/raw_registry.h"

namespace app {

struct CopiedValue {
  std::string name;  // "" for the default value
  std::uint32_t type = platform::kRegNone;
  std::vector<std::uint8_t> data;
  bool operator==(const CopiedValue&) const = default;
};

struct CopiedKey {
  std::string name;
  std::vector<CopiedValue> values;
  std::vector<CopiedKey> subkeys;
  bool operator==(const CopiedKey&) const = default;
};

// The registry allows keys 512 deep; deeper would be no registry's.
inline constexpr int kMaxCopyDepth = 512;

// Reads path under base, opened with access (its view bits apply to every key below), with
// everything under it, into key. kRegOk, or the first failure: kRegNotFound when the key is not
// there. A key that changes while it is read may fail the read; it never gives a mixed copy
// that looks whole.
platform::RegResult ReadKeyCopy(platform::RawRegistry& registry, platform::RegKey base,
                                const std::string& path, std::uint32_t access, CopiedKey& key);

}  // namespace app
