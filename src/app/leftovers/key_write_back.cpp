#include "app/leftovers/key_write_back.h"

#include "app/orphans/set_aside.h"
#include "platform/registry.h"

namespace app {
namespace {

bool SetAll(platform::RawRegistry& registry, platform::RegKey key, const CopiedKey& copy,
            std::uint32_t view_access) {
  for (const CopiedValue& value : copy.values) {
    if (registry.SetValue(key, value.name, value.type, value.data.data(),
                          static_cast<std::uint32_t>(value.data.size())) != platform::kRegOk) {
      return false;
    }
  }
  for (const CopiedKey& subkey : copy.subkeys) {
    platform::UniqueRegKey made(registry);
    if (registry.CreateKey(key, subkey.name, platform::kKeyAllAccess | view_access, made.put()) !=
        platform::kRegOk) {
      return false;
    }
    if (!SetAll(registry, made.get(), subkey, view_access)) return false;
  }
  return true;
}

bool ReadsBackAs(platform::RawRegistry& registry, platform::RegKey root, std::uint32_t view_access,
                 const std::string& path, const CopiedKey& copy) {
  CopiedKey back;
  if (ReadKeyCopy(registry, root, path, platform::kKeyRead | view_access, back) !=
      platform::kRegOk) {
    return false;
  }
  back.name = copy.name;
  return back == copy;
}

}  // namespace

WriteBack WriteNewKey(platform::RawRegistry& registry, platform::RegKey root,
                      std::uint32_t view_access, const std::string& path, const CopiedKey& copy) {
  platform::UniqueRegKey there(registry);
  const platform::RegResult opened =
      registry.OpenKeyItself(root, path, platform::kKeyRead | view_access, there.put());
  if (opened != platform::kRegNotFound) {
    return opened == platform::kRegOk ? WriteBack::kInTheWay : WriteBack::kFailed;
  }
  platform::UniqueRegKey made(registry);
  if (registry.CreateKey(root, path, platform::kKeyAllAccess | view_access, made.put()) !=
      platform::kRegOk) {
    return WriteBack::kFailed;
  }
  if (SetAll(registry, made.get(), copy, view_access) &&
      ReadsBackAs(registry, root, view_access, path, copy)) {
    return WriteBack::kWritten;
  }
  // Half a key is no restore: what was made goes again, the copy stays.
  DeleteKeyItself(registry, made.get());
  return WriteBack::kFailed;
}

WriteBack WriteNewValue(platform::RawRegistry& registry, platform::RegKey root,
                        std::uint32_t view_access, const std::string& path,
                        const CopiedValue& value) {
  platform::UniqueRegKey key(registry);
  if (registry.CreateKey(root, path, platform::kKeyAllAccess | view_access, key.put()) !=
      platform::kRegOk) {
    return WriteBack::kFailed;
  }
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  const platform::RegResult there = registry.ReadValue(key.get(), value.name, type, data);
  if (there != platform::kRegNotFound) {
    return there == platform::kRegOk ? WriteBack::kInTheWay : WriteBack::kFailed;
  }
  if (registry.SetValue(key.get(), value.name, value.type, value.data.data(),
                        static_cast<std::uint32_t>(value.data.size())) != platform::kRegOk) {
    return WriteBack::kFailed;
  }
  if (registry.ReadValue(key.get(), value.name, type, data) == platform::kRegOk &&
      type == value.type && data == value.data) {
    return WriteBack::kWritten;
  }
  registry.DeleteValue(key.get(), value.name);
  return WriteBack::kFailed;
}

}  // namespace app
