#include "app/leftovers/registry_item_removal.h"

#include <span>

#include "app/copies/key_copy.h"
#include "app/copies/reg_file.h"
#include "app/copies/reg_file_reader.h"
#include "app/entry/entry_key.h"
#include "app/orphans/set_aside.h"
#include "platform/registry.h"

namespace app {
namespace {

// No value a leftover holds is larger: one that is, is left alone.
constexpr std::size_t kMostValueBytes = 1024 * 1024;

std::string LastPart(const std::string& path) {
  const std::size_t last = path.find_last_of('\\');
  return last == std::string::npos ? path : path.substr(last + 1);
}

ItemRemoval NotRemoved(std::string reason) {
  return ItemRemoval{.reason = std::move(reason)};
}

// The item as it is now: a key whole, or a value alone in its key.
platform::RegResult ReadItem(platform::RawRegistry& registry, const LeftoverItem& item,
                             CopiedKey& copy) {
  const std::uint32_t access = platform::kKeyRead | item.view_access;
  if (item.kind != LeftoverKind::kRunValue) {
    return ReadKeyCopy(registry, item.root, item.place, access, copy);
  }
  platform::UniqueRegKey key(registry);
  const platform::RegResult opened = registry.OpenKey(item.root, item.place, access, key.put());
  if (opened != platform::kRegOk) return opened;
  CopiedValue value;
  value.name = item.value_name;
  const platform::RegResult read =
      registry.ReadStoredValue(key.get(), item.value_name, kMostValueBytes, value.type, value.data);
  copy = CopiedKey{.name = LastPart(item.place), .values = {std::move(value)}, .subkeys = {}};
  return read;
}

platform::RegResult DeleteItem(platform::RawRegistry& registry, const LeftoverItem& item) {
  const std::uint32_t access = platform::kKeyAllAccess | item.view_access;
  platform::UniqueRegKey key(registry);
  const platform::RegResult opened =
      item.kind == LeftoverKind::kRunValue
          ? registry.OpenKey(item.root, item.place, access, key.put())
          : registry.OpenKeyItself(item.root, item.place, access, key.put());
  if (opened != platform::kRegOk) return opened;
  if (item.kind == LeftoverKind::kRunValue) return registry.DeleteValue(key.get(), item.value_name);
  return DeleteKeyItself(registry, key.get());
}

}  // namespace

ItemRemoval RemoveRegistryItem(platform::Platform& platform, const LeftoverItem& item,
                               const std::string& copy_path, const CompletedStep& completed) {
  platform::RawRegistry& registry = platform.registry;
  CopiedKey copy;
  const platform::RegResult read = ReadItem(registry, item, copy);
  if (read == kRegHoldsLink) return NotRemoved("it holds a registry link");
  if (read != platform::kRegOk) return NotRemoved("it could not be read");
  const std::string key_path =
      RegFileKeyPath(item.root, item.view_access, registry.HasSeparate64BitView(), item.place);
  const auto bytes = RegFileBytes(copy, key_path);
  if (!bytes) return NotRemoved("a name in it cannot be written to a .reg file");
  platform::FileStore& files = platform.file_store;
  if (files.WriteNewFile(copy_path, *bytes) != platform::kFileOk) {
    return NotRemoved("its copy could not be written");
  }
  ItemRemoval removal{.copy_path = copy_path};
  completed(ManifestStep::kCopied);
  std::vector<std::uint8_t> back;
  RegFileRead reread;
  reread.fault = RegFileFault::kCut;
  if (files.ReadWholeFile(copy_path, bytes->size(), back) == platform::kFileOk) {
    reread = ReadRegFile(back);
  }
  if (back != *bytes || !reread.ok() || reread.path != key_path || reread.key != copy) {
    files.RemoveFile(copy_path);
    return NotRemoved("its copy did not read back as written");
  }
  completed(ManifestStep::kVerified);
  if (DeleteItem(registry, item) != platform::kRegOk) {
    removal.reason = "it could not be deleted; its copy is kept";
    return removal;
  }
  completed(ManifestStep::kDeleted);
  removal.removed = true;
  return removal;
}

}  // namespace app
