#pragma once

// TRegistry: a short-lived object holding at most one open key. Opening, removing and listing
// report failure by their result; reads and writes raise ERegistryException.
//
// Each value is read from the store once while its key is open, type and data in one call;
// whether it exists, its text and its flag are then answered from what was read. So the key's
// values are one consistent picture, at one round trip to the store each. Writing or removing
// a value, and opening or closing a key, forget what was read.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/raw_registry.h"
#include "platform/unique_handle.h"

namespace platform {

class ERegistryException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A key opened through the raw registry. A key that fails to close has nothing left to undo,
// so the result is dropped.
using UniqueRegKey = UniqueHandle<BoundTraits<RawRegistry, kNoKey, &RawRegistry::CloseKey>>;

// What opening a key that does not exist does.
enum class IfMissing { kFail, kCreate };

class TRegistry {
 public:
  explicit TRegistry(RawRegistry& raw, std::uint32_t access = kKeyAllAccess);
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  void SelectRoot(RegKey root);
  // Paths opened next are relative to the key that parent has open.
  void SelectParent(const TRegistry& parent) { SelectRoot(parent.OpenKey()); }
  bool OpenPath(const std::string& path, IfMissing if_missing);
  void ClosePath();
  bool HasValue(const std::string& name);
  std::string ReadText(const std::string& name);
  bool ReadFlag(const std::string& name);
  // The value's text when it is text; nothing when it is absent or of another type.
  std::optional<std::string> ReadTextIfText(const std::string& name);
  // The value when it is a 4-byte REG_DWORD; nothing when it is absent or anything else.
  std::optional<std::uint32_t> ReadDwordIfDword(const std::string& name);
  void WriteText(const std::string& name, const std::string& value);
  bool RemoveValue(const std::string& name);
  void ListSubkeyNames(std::vector<std::string>& names);
  // The open key's number of subkeys; 0 when it has none, no key is open or the query fails.
  std::uint32_t SubkeyCount();
  // The name of subkey number index in the store's enumeration order; false when there is
  // none (the key changed meanwhile) or no key is open.
  bool ReadSubkeyName(std::uint32_t index, std::string& name);

  RegKey OpenKey() const { return open_.get(); }
  RegKey Root() const { return root_; }

 private:
  struct Value {
    std::string name;
    RegResult result = kRegOk;
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;
  };
  // The value as read from the open key, reading it at its first use.
  const Value& Read(const std::string& name);

  RawRegistry& raw_;
  std::vector<Value> values_;  // read from the open key since it was opened
  UniqueRegKey open_;
  RegKey root_ = kHkeyCurrentUser;
  std::uint32_t access_;
};

}  // namespace platform
