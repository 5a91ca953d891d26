#pragma once

// A raw registry that passes every call on to another and writes down each value read: which
// key, by the path it was opened with, and which value. Tests and benchmarks ask it what a piece
// of work read, and how often.
//
// Safe from any thread, as the seam asks: one lock guards the log and the paths of open keys.

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/mutex.h"
#include "platform/raw_registry.h"

namespace sim {

// One value read: the key's path from its root ("HKLM\..." or "HKCU\..."), and the value's name.
struct ValueRead {
  std::string key;
  std::string value;
  friend bool operator==(const ValueRead&, const ValueRead&) = default;
};

class ReadLog final : public platform::RawRegistry {
 public:
  explicit ReadLog(platform::RawRegistry& inner) : inner_(inner) {}

  // The seam, passed on.
  platform::RegResult OpenKey(platform::RegKey base, const std::string& path, std::uint32_t access,
                              platform::RegKey* opened) override;
  platform::RegResult OpenKeyItself(platform::RegKey base, const std::string& path,
                                    std::uint32_t access, platform::RegKey* opened) override;
  platform::RegResult RenameKey(platform::RegKey key, const std::string& new_name) override;
  platform::RegResult DeleteOpenKey(platform::RegKey key) override;
  platform::RegResult CreateKey(platform::RegKey base, const std::string& path,
                                std::uint32_t access, platform::RegKey* opened) override;
  platform::RegResult ReadValue(platform::RegKey key, const std::string& name, std::uint32_t& type,
                                std::vector<std::uint8_t>& data) override;
  platform::RegResult ReadStoredValue(platform::RegKey key, const std::string& name,
                                      std::size_t limit, std::uint32_t& type,
                                      std::vector<std::uint8_t>& data) override;
  platform::RegResult EnumValueName(platform::RegKey key, std::uint32_t index,
                                    std::string& name) override;
  platform::RegResult DeleteTree(platform::RegKey key, const std::string& subkey) override;
  platform::RegResult SetValue(platform::RegKey key, const std::string& name, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) override;
  platform::RegResult DeleteValue(platform::RegKey key, const std::string& name) override;
  platform::RegResult QueryInfoKey(platform::RegKey key, std::uint32_t& subkeys) override;
  platform::RegResult EnumKey(platform::RegKey key, std::uint32_t index,
                              std::string& name) override;
  platform::RegResult CloseKey(platform::RegKey key) override;
  bool HasSeparate64BitView() const override;

  // Every value read, in the order read (threads' reads interleaved as they came).
  std::vector<ValueRead> Reads() const;
  // The names of the values read from keys whose path ends in "\" + key_name, in order.
  std::vector<std::string> ReadsOf(std::string_view key_name) const;
  std::size_t Count() const;
  void Clear();

 private:
  // The path of an open key or a root; "?" for one this log did not see opened.
  std::string PathOf(platform::RegKey key) const REQUIRES(mutex_);
  void Opened(platform::RegKey base, const std::string& path, platform::RegKey opened);
  void Note(platform::RegKey key, const std::string& name);

  platform::RawRegistry& inner_;
  mutable platform::Mutex mutex_;
  std::map<platform::RegKey, std::string> paths_ GUARDED_BY(mutex_);
  std::vector<ValueRead> reads_ GUARDED_BY(mutex_);
};

}  // namespace sim
