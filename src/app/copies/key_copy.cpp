#include "app/copies/key_copy.h"

#include "platform/registry.h"

namespace app {
namespace {

using platform::RegResult;

RegResult ReadValues(platform::RawRegistry& registry, platform::RegKey key, CopiedKey& copy) {
  for (std::uint32_t index = 0;; ++index) {
    CopiedValue value;
    const RegResult listed = registry.EnumValueName(key, index, value.name);
    if (listed == platform::kRegNoMoreItems) return platform::kRegOk;
    if (listed != platform::kRegOk) return listed;
    const RegResult read = registry.ReadStoredValue(key, value.name, value.type, value.data);
    if (read != platform::kRegOk) return read;
    copy.values.push_back(std::move(value));
  }
}

RegResult ReadTree(platform::RawRegistry& registry, platform::RegKey base, const std::string& path,
                   std::uint32_t access, int depth, CopiedKey& copy) {
  if (depth > kMaxCopyDepth) return platform::kRegAccessDenied;
  platform::UniqueRegKey key(registry);
  const RegResult opened = registry.OpenKey(base, path, access, key.put());
  if (opened != platform::kRegOk) return opened;
  if (const RegResult read = ReadValues(registry, key.get(), copy); read != platform::kRegOk) {
    return read;
  }
  for (std::uint32_t index = 0;; ++index) {
    CopiedKey subkey;
    const RegResult listed = registry.EnumKey(key.get(), index, subkey.name);
    if (listed == platform::kRegNoMoreItems) return platform::kRegOk;
    if (listed != platform::kRegOk) return listed;
    const RegResult read = ReadTree(registry, key.get(), subkey.name, access, depth + 1, subkey);
    if (read != platform::kRegOk) return read;
    copy.subkeys.push_back(std::move(subkey));
  }
}

}  // namespace

RegResult ReadKeyCopy(platform::RawRegistry& registry, platform::RegKey base,
                      const std::string& path, std::uint32_t access, CopiedKey& key) {
  key = CopiedKey{};
  const std::size_t cut = path.find_last_of('\\');
  key.name = cut == std::string::npos ? path : path.substr(cut + 1);
  return ReadTree(registry, base, path, access, 0, key);
}

}  // namespace app
