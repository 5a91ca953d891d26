#include "app/copies/key_copy.h"

#include "platform/registry.h"

namespace app {
namespace {

using platform::RegResult;

class TreeReader {
 public:
  TreeReader(platform::RawRegistry& registry, std::uint32_t access)
      : registry_(registry), access_(access) {}

  RegResult Read(platform::RegKey base, const std::string& path, int depth, CopiedKey& copy) {
    if (depth > kMaxCopyDepth) return platform::kRegAccessDenied;
    platform::UniqueRegKey key(registry_);
    const RegResult opened = registry_.OpenKeyItself(base, path, access_, key.put());
    if (opened != platform::kRegOk) return opened;
    if (const RegResult read = ReadValues(key.get(), copy); read != platform::kRegOk) return read;
    for (std::uint32_t index = 0;; ++index) {
      CopiedKey subkey;
      const RegResult listed = registry_.EnumKey(key.get(), index, subkey.name);
      if (listed == platform::kRegNoMoreItems) return platform::kRegOk;
      if (listed != platform::kRegOk) return listed;
      if (!Spend(subkey.name.size())) return kRegCopyTooLarge;
      const RegResult read = Read(key.get(), subkey.name, depth + 1, subkey);
      if (read == kRegHoldsLink) link_.insert(0, "\\" + subkey.name);
      if (read != platform::kRegOk) return read;
      copy.subkeys.push_back(std::move(subkey));
    }
  }

  const std::string& Link() const { return link_; }

 private:
  RegResult ReadValues(platform::RegKey key, CopiedKey& copy) {
    for (std::uint32_t index = 0;; ++index) {
      CopiedValue value;
      const RegResult listed = registry_.EnumValueName(key, index, value.name);
      if (listed == platform::kRegNoMoreItems) return platform::kRegOk;
      if (listed != platform::kRegOk) return listed;
      if (!Spend(value.name.size())) return kRegCopyTooLarge;
      const RegResult read =
          registry_.ReadStoredValue(key, value.name, left_, value.type, value.data);
      if (read == platform::kRegMoreData) return kRegCopyTooLarge;
      if (read != platform::kRegOk) return read;
      // Only a key opened itself shows this type: the key is a link.
      if (value.type == platform::kRegLink) return kRegHoldsLink;
      if (!Spend(value.data.size())) return kRegCopyTooLarge;
      copy.values.push_back(std::move(value));
    }
  }

  bool Spend(std::size_t bytes) {
    if (bytes > left_) return false;
    left_ -= bytes;
    return true;
  }

  platform::RawRegistry& registry_;
  const std::uint32_t access_;
  std::size_t left_ = kMaxCopyBytes;
  std::string link_;
};

}  // namespace

RegResult ReadKeyCopy(platform::RawRegistry& registry, platform::RegKey base,
                      const std::string& path, std::uint32_t access, CopiedKey& key,
                      std::string* link) {
  key = CopiedKey{};
  const std::size_t cut = path.find_last_of('\\');
  key.name = cut == std::string::npos ? path : path.substr(cut + 1);
  TreeReader reader(registry, access);
  const RegResult result = reader.Read(base, path, 0, key);
  if (result == kRegHoldsLink && link != nullptr) *link = reader.Link();
  return result;
}

namespace {

// FNV-1a, 64 bits.
constexpr std::uint64_t kDigestStart = 0xcbf29ce484222325ULL;
constexpr std::uint64_t kDigestPrime = 0x100000001b3ULL;

void Mix(std::uint64_t& digest, const std::uint8_t* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    digest ^= bytes[i];
    digest *= kDigestPrime;
  }
}

void MixNumber(std::uint64_t& digest, std::uint64_t number) {
  std::uint8_t bytes[sizeof number];
  for (std::size_t i = 0; i < sizeof number; ++i) {
    bytes[i] = static_cast<std::uint8_t>(number >> (8 * i));
  }
  Mix(digest, bytes, sizeof bytes);
}

// Each part with its length first, so that no two keys run together into the same bytes.
void MixPart(std::uint64_t& digest, const void* bytes, std::size_t count) {
  MixNumber(digest, count);
  Mix(digest, static_cast<const std::uint8_t*>(bytes), count);
}

void MixKey(std::uint64_t& digest, const CopiedKey& key) {
  MixPart(digest, key.name.data(), key.name.size());
  MixNumber(digest, key.values.size());
  for (const CopiedValue& value : key.values) {
    MixPart(digest, value.name.data(), value.name.size());
    MixNumber(digest, value.type);
    MixPart(digest, value.data.data(), value.data.size());
  }
  MixNumber(digest, key.subkeys.size());
  for (const CopiedKey& subkey : key.subkeys) MixKey(digest, subkey);
}

}  // namespace

std::uint64_t KeyDigest(const CopiedKey& key) {
  std::uint64_t digest = kDigestStart;
  MixKey(digest, key);
  return digest;
}

}  // namespace app
