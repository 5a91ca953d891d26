#include "platform/registry.h"

#include <algorithm>
#include <utility>

namespace platform {
namespace {

constexpr std::uint32_t kFlagSize = 4;

[[noreturn]] void Raise(const char* pattern, const std::string& name) {
  std::string message(pattern);
  message.replace(message.find("%s"), 2, name);
  throw ERegistryException(message);
}

constexpr const char* kTypeFailure = "Invalid data type for '%s'";
constexpr const char* kGetFailure = "Failed to get data for '%s'";
constexpr const char* kSetFailure = "Failed to set data for '%s'";

}  // namespace

TRegistry::TRegistry(RawRegistry& raw, std::uint32_t access) : raw_(raw), access_(access) {}

void TRegistry::SelectRoot(RegKey root) {
  if (root == root_) return;
  ClosePath();
  root_ = root;
}

const TRegistry::Value& TRegistry::Read(const std::string& name) {
  for (const Value& value : values_) {
    if (value.name == name) return value;
  }
  Value& value = values_.emplace_back();
  value.name = name;
  value.result =
      !open_ ? kRegInvalidHandle : raw_.ReadValue(open_.get(), name, value.type, value.data);
  return value;
}

bool TRegistry::OpenPath(const std::string& path, IfMissing if_missing) {
  const bool create = if_missing == IfMissing::kCreate;
  const bool absolute = !path.empty() && path.front() == '\\';
  const std::string rest = absolute ? path.substr(1) : path;
  const RegKey base = (absolute || !open_) ? root_ : open_.get();
  // The key open now stays open until the new one is: a relative path starts from it.
  UniqueRegKey opened(raw_);
  const RegResult result = (create && !rest.empty())
                               ? raw_.CreateKey(base, rest, access_, opened.put())
                               : raw_.OpenKey(base, rest, access_, opened.put());
  if (result != kRegOk) return false;
  values_.clear();
  open_ = std::move(opened);
  return true;
}

void TRegistry::ClosePath() {
  values_.clear();
  open_.reset();
}

bool TRegistry::HasValue(const std::string& name) {
  return Read(name).result == kRegOk;
}

std::string TRegistry::ReadText(const std::string& name) {
  const Value& value = Read(name);
  // A missing value, or one without data whatever its type, is empty text.
  if (value.result != kRegOk || value.data.empty()) return {};
  if (value.type != kRegSz && value.type != kRegExpandSz) Raise(kTypeFailure, name);
  const auto end = std::find(value.data.begin(), value.data.end(), std::uint8_t{0});
  return std::string(value.data.begin(), end);
}

bool TRegistry::ReadFlag(const std::string& name) {
  const Value& value = Read(name);
  // A number is read into room for 4 bytes: longer data does not fit.
  if (value.result != kRegOk || value.data.size() > kFlagSize) Raise(kGetFailure, name);
  if (value.type != kRegDword) Raise(kTypeFailure, name);
  // A shorter number reads as its bytes with the rest zero.
  return std::any_of(value.data.begin(), value.data.end(), [](std::uint8_t b) { return b != 0; });
}

std::optional<std::string> TRegistry::ReadTextIfText(const std::string& name) {
  const Value& value = Read(name);
  if (value.result != kRegOk || (value.type != kRegSz && value.type != kRegExpandSz)) {
    return std::nullopt;
  }
  return ReadText(name);
}

std::optional<std::uint32_t> TRegistry::ReadDwordIfDword(const std::string& name) {
  const Value& value = Read(name);
  if (value.result != kRegOk || value.type != kRegDword || value.data.size() != kFlagSize) {
    return std::nullopt;
  }
  std::uint32_t number = 0;
  for (std::size_t i = kFlagSize; i > 0; --i) number = (number << 8) | value.data[i - 1];
  return number;
}

void TRegistry::WriteText(const std::string& name, const std::string& value) {
  values_.clear();
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(value.c_str());
  const auto size = static_cast<std::uint32_t>(value.size() + 1);
  if (!open_ || raw_.SetValue(open_.get(), name, kRegSz, bytes, size) != kRegOk) {
    Raise(kSetFailure, name);
  }
}

bool TRegistry::RemoveValue(const std::string& name) {
  values_.clear();
  return open_ && raw_.DeleteValue(open_.get(), name) == kRegOk;
}

void TRegistry::ListSubkeyNames(std::vector<std::string>& names) {
  names.clear();
  const std::uint32_t count = SubkeyCount();
  std::string name;
  for (std::uint32_t i = 0; i < count; ++i) {
    // An index that fails (the key changed meanwhile) contributes nothing.
    if (ReadSubkeyName(i, name)) names.push_back(name);
  }
}

std::uint32_t TRegistry::SubkeyCount() {
  std::uint32_t count = 0;
  if (!open_ || raw_.QueryInfoKey(open_.get(), count) != kRegOk) return 0;
  return count;
}

bool TRegistry::ReadSubkeyName(std::uint32_t index, std::string& name) {
  return open_ && raw_.EnumKey(open_.get(), index, name) == kRegOk;
}

}  // namespace platform
