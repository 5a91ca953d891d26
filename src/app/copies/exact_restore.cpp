#include "app/copies/exact_restore.h"

#include <cstddef>
#include <cstdint>

#include "platform/registry_text.h"

namespace app {
namespace {

constexpr std::size_t kUnitBytes = 2;

void Collect(const CopiedKey& key, const std::string& path, std::vector<InexactValue>& out) {
  for (const CopiedValue& value : key.values) {
    if (!RegeditRestoresExactly(value)) out.push_back({path, value.name});
  }
  for (const CopiedKey& subkey : key.subkeys) Collect(subkey, path + "\\" + subkey.name, out);
}

}  // namespace

// What Wine 8's regedit stores for each line the copy writer gives:
// - Text (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) written as hex(1), hex(2) or hex(7) gets a zero
//   unit added when its last whole unit is not zero: "61,00,62,00" comes back as
//   61 00 62 00 00 00. With an odd count that added unit overwrites the last byte and one byte
//   of whatever lay beyond follows it: "61,00,62,00,63" comes back as 61 00 62 00 00 00 and a
//   seventh, stray byte; "61" alone as three stray bytes. An odd count whose last whole unit is
//   zero happens to come back as it was, but nothing says it must: it is counted as inexact.
// - Zero units inside text, a REG_MULTI_SZ that ends in one zero unit instead of two, and empty
//   text (no byte at all) come back as written.
// - Quoted strings come back exactly: backslashes, quotes, "=", ";", brackets, blanks at either
//   end and characters beyond the BMP, 200,000 characters long.
// - REG_DWORD of any size other than 4, REG_QWORD of any size other than 8, empty REG_NONE and
//   REG_BINARY, REG_LINK's type 6 and every type number from 8 up to 0xffffffff come back as
//   written, as do hex lines of 300,000 bytes and value names of 16383 characters (the registry's
//   most) with quotes, backslashes, brackets, "=", ";" or "@".
bool RegeditRestoresExactly(const CopiedValue& value) {
  if (!platform::IsRegistryText(value.type)) return true;
  const std::vector<std::uint8_t>& data = value.data;
  if (data.empty()) return true;
  if (data.size() % kUnitBytes != 0) return false;
  return data[data.size() - 1] == 0 && data[data.size() - 2] == 0;
}

std::vector<InexactValue> InexactValues(const CopiedKey& key, const std::string& path) {
  std::vector<InexactValue> out;
  Collect(key, path, out);
  return out;
}

}  // namespace app
