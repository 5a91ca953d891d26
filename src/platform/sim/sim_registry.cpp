#include "platform/sim/sim_registry.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <stdexcept>

#include "platform/registry_text.h"
#include "platform/sim/sim_reg_text.h"
#include "platform/text.h"

namespace sim {
namespace {

using platform::RegKey;
using platform::RegResult;

// ERROR_BAD_PATHNAME: a path with an empty part, or one starting with "\".
constexpr RegResult kRegBadPathName = 161;
constexpr RegKey kFirstHandle = 0x1000;
constexpr RegKey kHandleStep = 4;
constexpr std::string_view kSoftware = "SOFTWARE";
constexpr std::string_view kWow64Node = "Wow6432Node";
constexpr std::string_view kLinkValueName = "SymbolicLinkValue";
constexpr std::uint32_t kRegLink = 6;  // REG_LINK
// Windows gives up on a path after this many links.
constexpr int kMaxLinkHops = 63;

// Splits a path given to the seam; nothing for an empty part other than a trailing one.
std::optional<std::vector<std::string>> SplitSeamPath(std::string_view path) {
  std::vector<std::string> parts;
  if (path.empty()) return parts;
  if (path.back() == '\\') path.remove_suffix(1);
  while (true) {
    const auto end = path.find('\\');
    const std::string_view part = path.substr(0, end);
    if (part.empty()) return std::nullopt;
    parts.emplace_back(part);
    if (end == std::string_view::npos) return parts;
    path.remove_prefix(end + 1);
  }
}

// Splits a test helper's path, skipping empty parts.
std::vector<std::string> SplitLoosely(std::string_view path) {
  std::vector<std::string> parts;
  while (!path.empty()) {
    const auto end = path.find('\\');
    if (end != 0) parts.emplace_back(path.substr(0, end));
    if (end == std::string_view::npos) break;
    path.remove_prefix(end + 1);
  }
  return parts;
}

bool IsRoot(RegKey key) {
  return key == platform::kHkeyLocalMachine || key == platform::kHkeyCurrentUser;
}

}  // namespace

Registry::Registry()
    : machine_(std::make_shared<Key>()),
      user_(std::make_shared<Key>()),
      next_handle_(kFirstHandle) {}
Registry::~Registry() = default;

Registry::Key& Registry::RootKey(RegKey root) {
  if (root == platform::kHkeyLocalMachine) return *machine_;
  if (root == platform::kHkeyCurrentUser) return *user_;
  throw std::invalid_argument("not a registry root: " + std::to_string(root));
}

const Registry::Key* Registry::RootKeyOrNull(RegKey root) const {
  if (root == platform::kHkeyLocalMachine) return machine_.get();
  if (root == platform::kHkeyCurrentUser) return user_.get();
  return nullptr;
}

const Registry::Key* Registry::Find(const Location& location) const {
  const Key* key = RootKeyOrNull(location.root);
  for (const std::string& part : location.path) {
    if (key == nullptr) return nullptr;
    const auto it = key->subkeys.find(part);
    key = it == key->subkeys.end() ? nullptr : it->second.get();
  }
  return key;
}

Registry::Key* Registry::Find(const Location& location) {
  return const_cast<Key*>(static_cast<const Registry*>(this)->Find(location));
}

Registry::Key& Registry::Child(Key& parent, const std::string& name) {
  auto& slot = parent.subkeys[name];
  if (!slot) {
    slot = std::make_shared<Key>();
    slot->name = name;
    slot->parent = &parent;
  }
  return *slot;
}

Registry::Key& Registry::Make(const Location& location) {
  Key* key = &RootKey(location.root);
  for (const std::string& part : location.path) key = &Child(*key, part);
  return *key;
}

RegResult Registry::Resolve(RegKey handle, Key*& found) {
  if (IsRoot(handle)) {
    found = &RootKey(handle);
    return platform::kRegOk;
  }
  const auto it = handles_.find(handle);
  if (it == handles_.end()) return platform::kRegInvalidHandle;
  found = it->second.get();
  return found->deleted ? kRegKeyDeleted : platform::kRegOk;
}

std::optional<Registry::Path> Registry::Parts(const Key& base, const std::string& path,
                                              std::uint32_t access) const {
  auto parts = SplitSeamPath(path);
  if (!parts) return std::nullopt;
  const bool redirect = system64_ && &base == machine_.get() && !parts->empty() &&
                        text::EqualsIgnoringAsciiCase((*parts)[0], kSoftware) &&
                        (access & platform::kKeyWow64_64Key) == 0;
  const bool names_wow64_node =
      parts->size() > 1 && text::EqualsIgnoringAsciiCase((*parts)[1], kWow64Node);
  if (redirect && !names_wow64_node) parts->insert(parts->begin() + 1, std::string(kWow64Node));
  return parts;
}

RegResult Registry::Walk(Key& start, const Path& parts, bool create, bool open_link, Key*& found) {
  Key* key = &start;
  int hops = 0;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    Key* next = nullptr;
    if (create) {
      next = &Child(*key, parts[i]);
    } else if (const auto it = key->subkeys.find(parts[i]); it != key->subkeys.end()) {
      next = it->second.get();
    }
    const bool last = i + 1 == parts.size();
    while (next != nullptr && next->link && !(last && open_link)) {
      if (++hops > kMaxLinkHops) return kRegLinkLoop;
      next = create ? &Make(*next->link) : Find(*next->link);
    }
    if (next == nullptr) return platform::kRegNotFound;
    key = next;
  }
  found = key;
  return platform::kRegOk;
}

RegResult Registry::Open(RegKey base, const std::string& path, std::uint32_t access, bool create,
                         bool open_link, RegKey* opened) {
  *opened = platform::kNoKey;
  Key* base_key = nullptr;
  if (const RegResult result = Resolve(base, base_key); result != platform::kRegOk) return result;
  const std::optional<Path> parts = Parts(*base_key, path, access);
  if (!parts) return kRegBadPathName;
  Key* key = nullptr;
  if (const RegResult walked = Walk(*base_key, *parts, create, open_link, key);
      walked != platform::kRegOk) {
    return walked;
  }
  if (key->denied) return platform::kRegAccessDenied;
  *opened = next_handle_;
  next_handle_ += kHandleStep;
  // The handle keeps its key alive, as Windows keeps a deleted key for its open handles.
  const std::shared_ptr<Key>& owner = key == machine_.get() ? machine_
                                      : key == user_.get()  ? user_
                                                            : key->parent->subkeys.at(key->name);
  handles_.emplace(*opened, owner);
  return platform::kRegOk;
}

RegResult Registry::OpenKey(RegKey base, const std::string& path, std::uint32_t access,
                            RegKey* opened) {
  const platform::MutexLock lock(mutex_);
  return Open(base, path, access, false, false, opened);
}

RegResult Registry::OpenKeyItself(RegKey base, const std::string& path, std::uint32_t access,
                                  RegKey* opened) {
  const platform::MutexLock lock(mutex_);
  return Open(base, path, access, false, true, opened);
}

RegResult Registry::CreateKey(RegKey base, const std::string& path, std::uint32_t access,
                              RegKey* opened) {
  const platform::MutexLock lock(mutex_);
  return Open(base, path, access, true, false, opened);
}

RegResult Registry::RenameKey(RegKey handle, const std::string& new_name) {
  const platform::MutexLock lock(mutex_);
  Key* key = nullptr;
  if (const RegResult result = Resolve(handle, key); result != platform::kRegOk) return result;
  const auto parts = SplitSeamPath(new_name);
  if (!parts || parts->size() != 1) return kRegInvalidParameter;
  if (key->parent == nullptr || key->parent->subkeys.contains(new_name)) {
    return platform::kRegAccessDenied;
  }
  auto& siblings = key->parent->subkeys;
  auto node = siblings.extract(key->name);
  node.key() = new_name;
  node.mapped()->name = new_name;
  siblings.insert(std::move(node));
  return platform::kRegOk;
}

RegResult Registry::DeleteOpenKey(RegKey handle) {
  const platform::MutexLock lock(mutex_);
  Key* key = nullptr;
  if (const RegResult result = Resolve(handle, key); result != platform::kRegOk) return result;
  if (key->parent == nullptr || key->undeletable || !key->subkeys.empty()) {
    return platform::kRegAccessDenied;
  }
  Detach(*key);
  return platform::kRegOk;
}

void Registry::Detach(Key& key) {
  MarkDeleted(key);
  const std::string name = key.name;  // the erase ends the key
  key.parent->subkeys.erase(name);
}

void Registry::MarkDeleted(Key& key) {
  key.deleted = true;
  for (auto& entry : key.subkeys) MarkDeleted(*entry.second);
}

RegResult Registry::ReadValue(RegKey handle, const std::string& name, std::uint32_t& type,
                              std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> stored;
  const RegResult result = ReadStoredValue(handle, name, SIZE_MAX, type, stored);
  if (result == platform::kRegOk) data = platform::SeamBytes(type, stored.data(), stored.size());
  return result;
}

RegResult Registry::ReadStoredValue(RegKey handle, const std::string& name, std::size_t limit,
                                    std::uint32_t& type, std::vector<std::uint8_t>& data) {
  const platform::MutexLock lock(mutex_);
  Key* key = nullptr;
  if (const RegResult result = Resolve(handle, key); result != platform::kRegOk) return result;
  const auto it = key->values.find(name);
  if (it == key->values.end()) return platform::kRegNotFound;
  if (it->second.data.size() > limit) return platform::kRegMoreData;
  type = it->second.type;
  data = it->second.data;
  return platform::kRegOk;
}

RegResult Registry::EnumValueName(RegKey handle, std::uint32_t index, std::string& name) {
  const platform::MutexLock lock(mutex_);
  Key* key = nullptr;
  if (const RegResult result = Resolve(handle, key); result != platform::kRegOk) return result;
  if (index >= key->values.size()) return platform::kRegNoMoreItems;
  name = std::next(key->values.begin(), index)->second.name;
  return platform::kRegOk;
}

RegResult Registry::DeleteTree(RegKey handle, const std::string& subkey) {
  const platform::MutexLock lock(mutex_);
  Key* base = nullptr;
  if (const RegResult result = Resolve(handle, base); result != platform::kRegOk) return result;
  if (subkey.empty()) return kRegInvalidParameter;
  const std::optional<Path> parts = Parts(*base, subkey, platform::kKeyAllAccess);
  if (!parts) return kRegBadPathName;
  // As on Windows, a link on the way, or the key itself, leads the deletion to its target.
  Key* key = nullptr;
  if (const RegResult walked = Walk(*base, *parts, false, false, key); walked != platform::kRegOk) {
    return walked;
  }
  if (!EmptyTree(*key)) return platform::kRegAccessDenied;
  if (key->parent != nullptr) Detach(*key);
  return platform::kRegOk;
}

bool Registry::EmptyTree(Key& key) {
  if (key.undeletable) return false;
  bool emptied = true;
  for (auto it = key.subkeys.begin(); it != key.subkeys.end();) {
    if (EmptyTree(*it->second)) {
      MarkDeleted(*it->second);
      it = key.subkeys.erase(it);
    } else {
      emptied = false;
      ++it;
    }
  }
  key.values.clear();
  return emptied;
}

RegResult Registry::SetValue(RegKey handle, const std::string& name, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t size) {
  const platform::MutexLock lock(mutex_);
  Key* key = nullptr;
  if (const RegResult result = Resolve(handle, key); result != platform::kRegOk) return result;
  if (data == nullptr && size != 0) return kRegInvalidParameter;
  StoredValue& value = key->values[name];
  if (value.name.empty()) value.name = name;
  value.type = type;
  value.data = platform::StoredBytes(type, data, size);
  return platform::kRegOk;
}

RegResult Registry::DeleteValue(RegKey handle, const std::string& name) {
  const platform::MutexLock lock(mutex_);
  Key* key = nullptr;
  if (const RegResult result = Resolve(handle, key); result != platform::kRegOk) return result;
  return key->values.erase(name) == 0 ? platform::kRegNotFound : platform::kRegOk;
}

RegResult Registry::QueryInfoKey(RegKey handle, std::uint32_t& subkeys) {
  const platform::MutexLock lock(mutex_);
  Key* key = nullptr;
  if (const RegResult result = Resolve(handle, key); result != platform::kRegOk) return result;
  subkeys = static_cast<std::uint32_t>(key->subkeys.size());
  return platform::kRegOk;
}

RegResult Registry::EnumKey(RegKey handle, std::uint32_t index, std::string& name) {
  const platform::MutexLock lock(mutex_);
  Key* key = nullptr;
  if (const RegResult result = Resolve(handle, key); result != platform::kRegOk) return result;
  if (index >= key->subkeys.size()) return platform::kRegNoMoreItems;
  name = std::next(key->subkeys.begin(), index)->second->name;
  return platform::kRegOk;
}

RegResult Registry::CloseKey(RegKey handle) {
  const platform::MutexLock lock(mutex_);
  if (IsRoot(handle)) return platform::kRegOk;
  return handles_.erase(handle) == 0 ? platform::kRegInvalidHandle : platform::kRegOk;
}

Registry::Location Registry::Physical(RegKey root, std::string_view physical_path) const {
  if (!IsRoot(root)) throw std::invalid_argument("not a registry root: " + std::to_string(root));
  return Location{root, SplitLoosely(physical_path)};
}

void Registry::LoadRegText(std::string_view text) {
  // Parsed whole before anything is applied, so a malformed file changes nothing.
  std::vector<RegTextOperation> operations = ParseRegText(text);
  const platform::MutexLock lock(mutex_);
  for (RegTextOperation& op : operations) {
    const Location location = Physical(op.root, op.path);
    switch (op.kind) {
      case RegTextOperation::Kind::kCreateKey:
        Make(location);
        break;
      case RegTextOperation::Kind::kDeleteKey:
        DeleteKeyAt(location);
        break;
      case RegTextOperation::Kind::kSetValue:
        StoreValue(location, op.name, op.type, std::move(op.data));
        break;
      case RegTextOperation::Kind::kDeleteValue:
        DeleteValueAt(location, op.name);
        break;
    }
  }
}

void Registry::SetSystem64(bool system64) {
  const platform::MutexLock lock(mutex_);
  system64_ = system64;
}

bool Registry::HasSeparate64BitView() const {
  const platform::MutexLock lock(mutex_);
  return system64_;
}

std::size_t Registry::OpenHandleCount() const {
  const platform::MutexLock lock(mutex_);
  return handles_.size();
}

void Registry::CreatePhysicalKey(RegKey root, std::string_view physical_path) {
  const platform::MutexLock lock(mutex_);
  Make(Physical(root, physical_path));
}

bool Registry::DeletePhysicalKey(RegKey root, std::string_view physical_path) {
  const platform::MutexLock lock(mutex_);
  return DeleteKeyAt(Physical(root, physical_path));
}

bool Registry::DeleteKeyAt(const Location& location) {
  if (location.path.empty()) throw std::invalid_argument("cannot delete a registry root");
  Location parent_location = location;
  parent_location.path.pop_back();
  Key* parent = Find(parent_location);
  if (parent == nullptr) return false;
  const auto it = parent->subkeys.find(location.path.back());
  if (it == parent->subkeys.end()) return false;
  Detach(*it->second);
  return true;
}

void Registry::SetLink(RegKey root, std::string_view physical_path, RegKey target_root,
                       std::string_view target_physical_path) {
  const platform::MutexLock lock(mutex_);
  const Location target = Physical(target_root, target_physical_path);
  Key& key = Make(Physical(root, physical_path));
  key.link = target;
  // What Windows shows of a link opened itself: the NT path of its target.
  std::string nt_path = target_root == platform::kHkeyLocalMachine ? "\\Registry\\Machine"
                                                                   : "\\Registry\\User\\S-1-5-21";
  for (const std::string& part : target.path) nt_path += "\\" + part;
  StoredValue& value = key.values[std::string(kLinkValueName)];
  value.name = kLinkValueName;
  value.type = kRegLink;
  value.data =
      platform::Utf16LeBytes(reinterpret_cast<const std::uint8_t*>(nt_path.data()), nt_path.size());
}

void Registry::SetValue(RegKey root, std::string_view physical_path, std::string_view name,
                        std::uint32_t type, std::vector<std::uint8_t> bytes) {
  if (platform::IsRegistryText(type)) bytes = platform::Utf16LeBytes(bytes.data(), bytes.size());
  SetRawValue(root, physical_path, name, type, std::move(bytes));
}

void Registry::SetRawValue(RegKey root, std::string_view physical_path, std::string_view name,
                           std::uint32_t type, std::vector<std::uint8_t> bytes) {
  const platform::MutexLock lock(mutex_);
  StoreValue(Physical(root, physical_path), name, type, std::move(bytes));
}

void Registry::StoreValue(const Location& location, std::string_view name, std::uint32_t type,
                          std::vector<std::uint8_t> bytes) {
  Key& key = Make(location);
  const std::string value_name(name);
  StoredValue& value = key.values[value_name];
  if (value.name.empty()) value.name = value_name;
  value.type = type;
  value.data = std::move(bytes);
}

void Registry::SetText(RegKey root, std::string_view physical_path, std::string_view name,
                       std::string_view text, std::uint32_t type) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  SetValue(root, physical_path, name, type, std::move(bytes));
}

void Registry::SetDword(RegKey root, std::string_view physical_path, std::string_view name,
                        std::uint32_t value) {
  std::vector<std::uint8_t> bytes;
  for (int shift = 0; shift < 32; shift += 8)
    bytes.push_back(static_cast<std::uint8_t>(value >> shift));
  SetValue(root, physical_path, name, platform::kRegDword, std::move(bytes));
}

bool Registry::DeletePhysicalValue(RegKey root, std::string_view physical_path,
                                   std::string_view name) {
  const platform::MutexLock lock(mutex_);
  return DeleteValueAt(Physical(root, physical_path), name);
}

bool Registry::DeleteValueAt(const Location& location, std::string_view name) {
  Key* key = Find(location);
  return key != nullptr && key->values.erase(std::string(name)) != 0;
}

void Registry::DenyAccess(RegKey root, std::string_view physical_path, bool deny) {
  const platform::MutexLock lock(mutex_);
  Make(Physical(root, physical_path)).denied = deny;
}

void Registry::KeepFromDeletion(RegKey root, std::string_view physical_path, bool keep) {
  const platform::MutexLock lock(mutex_);
  Make(Physical(root, physical_path)).undeletable = keep;
}

std::optional<std::pair<std::uint32_t, std::vector<std::uint8_t>>> Registry::Value(
    RegKey root, std::string_view physical_path, std::string_view name) const {
  auto value = RawValue(root, physical_path, name);
  if (value) {
    value->second = platform::SeamBytes(value->first, value->second.data(), value->second.size());
  }
  return value;
}

std::optional<std::pair<std::uint32_t, std::vector<std::uint8_t>>> Registry::RawValue(
    RegKey root, std::string_view physical_path, std::string_view name) const {
  const platform::MutexLock lock(mutex_);
  const Key* key = Find(Physical(root, physical_path));
  if (key == nullptr) return std::nullopt;
  const auto it = key->values.find(name);
  if (it == key->values.end()) return std::nullopt;
  return std::make_pair(it->second.type, it->second.data);
}

bool Registry::KeyExists(RegKey root, std::string_view physical_path) const {
  const platform::MutexLock lock(mutex_);
  return Find(Physical(root, physical_path)) != nullptr;
}

std::vector<std::string> Registry::SubkeyNames(RegKey root, std::string_view physical_path) const {
  const platform::MutexLock lock(mutex_);
  std::vector<std::string> names;
  const Key* key = Find(Physical(root, physical_path));
  if (key == nullptr) return names;
  for (const auto& entry : key->subkeys) names.push_back(entry.second->name);
  return names;
}

}  // namespace sim
