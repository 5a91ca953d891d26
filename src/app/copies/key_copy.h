#pragma once

// A registry key as it is stored, with everything under it: each value's name, type and raw
// bytes (text as UTF-16LE, odd counts kept) and each subkey in turn. What a copy of an uninstall
// entry is made from, and what tells whether the entry was deleted, partly deleted or left.

#include <cstddef>
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

// What one copy may hold, names and data together: more is refused before it is read, so that
// a hostile entry cannot exhaust the memory of a 32-bit process.
inline constexpr std::size_t kMaxCopyBytes = std::size_t{64} * 1024 * 1024;

// An entry past kMaxCopyBytes.
inline constexpr platform::RegResult kRegCopyTooLarge = 223;  // ERROR_FILE_TOO_LARGE

// A key that is a registry link: a .reg file cannot hold one, so no copy of it is exact.
inline constexpr platform::RegResult kRegHoldsLink = 50;  // ERROR_NOT_SUPPORTED

// A fingerprint of the key's names, types and bytes, everything under it included: two reads of a
// key that give the same one read the same key. Not proof against someone crafting a key to
// match, who could as well have changed it before the question.
std::uint64_t KeyDigest(const CopiedKey& key);

// Reads path under base, opened with access (its view bits apply to every key below), with
// everything under it, into key. Each key is opened itself, never what a link leads to.
// kRegOk, or the first failure: kRegNotFound when the key is not there, kRegCopyTooLarge past
// kMaxCopyBytes, kRegHoldsLink for a link, whose path from path's key (empty for that key
// itself) is then written to *link when given. A key that changes while it is read may fail the
// read; it never gives a mixed copy that looks whole.
platform::RegResult ReadKeyCopy(platform::RawRegistry& registry, platform::RegKey base,
                                const std::string& path, std::uint32_t access, CopiedKey& key,
                                std::string* link = nullptr);

}  // namespace app
