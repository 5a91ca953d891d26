#include "platform/sim/sim_read_log.h"

namespace sim {

using platform::RegKey;
using platform::RegResult;

std::string ReadLog::PathOf(RegKey key) const {
  if (key == platform::kHkeyLocalMachine) return "HKLM";
  if (key == platform::kHkeyCurrentUser) return "HKCU";
  const auto found = paths_.find(key);
  return found == paths_.end() ? "?" : found->second;
}

void ReadLog::Opened(RegKey base, const std::string& path, RegKey opened) {
  const platform::MutexLock hold(mutex_);
  std::string full = PathOf(base);
  if (!path.empty()) full += "\\" + path;
  paths_[opened] = std::move(full);
}

void ReadLog::Note(RegKey key, const std::string& name) {
  const platform::MutexLock hold(mutex_);
  reads_.push_back(ValueRead{PathOf(key), name});
}

RegResult ReadLog::OpenKey(RegKey base, const std::string& path, std::uint32_t access,
                           RegKey* opened) {
  const RegResult result = inner_.OpenKey(base, path, access, opened);
  if (result == platform::kRegOk) Opened(base, path, *opened);
  return result;
}

RegResult ReadLog::CreateKey(RegKey base, const std::string& path, std::uint32_t access,
                             RegKey* opened) {
  const RegResult result = inner_.CreateKey(base, path, access, opened);
  if (result == platform::kRegOk) Opened(base, path, *opened);
  return result;
}

RegResult ReadLog::ReadValue(RegKey key, const std::string& name, std::uint32_t& type,
                             std::vector<std::uint8_t>& data) {
  Note(key, name);
  return inner_.ReadValue(key, name, type, data);
}

RegResult ReadLog::ReadStoredValue(RegKey key, const std::string& name, std::size_t limit,
                                   std::uint32_t& type, std::vector<std::uint8_t>& data) {
  Note(key, name);
  return inner_.ReadStoredValue(key, name, limit, type, data);
}

RegResult ReadLog::EnumValueName(RegKey key, std::uint32_t index, std::string& name) {
  return inner_.EnumValueName(key, index, name);
}

RegResult ReadLog::OpenKeyItself(RegKey base, const std::string& path, std::uint32_t access,
                                 RegKey* opened) {
  const RegResult result = inner_.OpenKeyItself(base, path, access, opened);
  if (result == platform::kRegOk) Opened(base, path, *opened);
  return result;
}

RegResult ReadLog::RenameKey(RegKey key, const std::string& new_name) {
  return inner_.RenameKey(key, new_name);
}

RegResult ReadLog::DeleteOpenKey(RegKey key) {
  return inner_.DeleteOpenKey(key);
}

RegResult ReadLog::DeleteTree(RegKey key, const std::string& subkey) {
  return inner_.DeleteTree(key, subkey);
}

RegResult ReadLog::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size) {
  return inner_.SetValue(key, name, type, data, size);
}

RegResult ReadLog::DeleteValue(RegKey key, const std::string& name) {
  return inner_.DeleteValue(key, name);
}

RegResult ReadLog::QueryInfoKey(RegKey key, std::uint32_t& subkeys) {
  return inner_.QueryInfoKey(key, subkeys);
}

RegResult ReadLog::EnumKey(RegKey key, std::uint32_t index, std::string& name) {
  return inner_.EnumKey(key, index, name);
}

RegResult ReadLog::CloseKey(RegKey key) {
  {
    const platform::MutexLock hold(mutex_);
    paths_.erase(key);
  }
  return inner_.CloseKey(key);
}

bool ReadLog::HasSeparate64BitView() const {
  return inner_.HasSeparate64BitView();
}

std::vector<ValueRead> ReadLog::Reads() const {
  const platform::MutexLock hold(mutex_);
  return reads_;
}

std::vector<std::string> ReadLog::ReadsOf(std::string_view key_name) const {
  const std::string tail = "\\" + std::string(key_name);
  const platform::MutexLock hold(mutex_);
  std::vector<std::string> names;
  for (const ValueRead& read : reads_) {
    if (read.key.ends_with(tail)) names.push_back(read.value);
  }
  return names;
}

std::size_t ReadLog::Count() const {
  const platform::MutexLock hold(mutex_);
  return reads_.size();
}

void ReadLog::Clear() {
  const platform::MutexLock hold(mutex_);
  reads_.clear();
}

}  // namespace sim
