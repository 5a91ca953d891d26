#pragma once

#include <string>
#include <vector>

#include "platform/raw_registry.h"

namespace win32 {

// The raw registry over the wide Win32 calls. Text values (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ)
// are UTF-16 in the store and UTF-8 above the seam; sizes reported are always UTF-8 sizes, so a
// size query and the read that follows it agree.
//
// Every call to the store is a round trip to another process (wineserver, or the kernel), and
// callers ask after a value two or three times in a row: whether it exists, its size, then its
// data. A query without a buffer therefore reads the value whole and keeps it, and the queries
// of that same value that follow at once are answered from it, up to and including the one that
// takes the data. Any other call forgets it, so nothing is kept past one logical read.
class Registry : public platform::RawRegistry {
 public:
  platform::RegResult OpenKey(platform::RegKey base, const std::string& path, std::uint32_t access,
                              platform::RegKey& opened) override;
  platform::RegResult CreateKey(platform::RegKey base, const std::string& path,
                                std::uint32_t access, platform::RegKey& opened) override;
  platform::RegResult QueryValue(platform::RegKey key, const std::string& name, std::uint32_t* type,
                                 std::uint8_t* data, std::uint32_t* size) override;
  platform::RegResult SetValue(platform::RegKey key, const std::string& name, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) override;
  platform::RegResult DeleteValue(platform::RegKey key, const std::string& name) override;
  platform::RegResult QueryInfoKey(platform::RegKey key, std::uint32_t& subkeys) override;
  platform::RegResult EnumKey(platform::RegKey key, std::uint32_t index,
                              std::string& name) override;
  platform::RegResult CloseKey(platform::RegKey key) override;
  bool HasSeparate64BitView() const override;

 private:
  struct LastRead {
    platform::RegKey key = platform::kNoKey;
    std::string name;
    platform::RegResult result = 0;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;  // as they cross the seam
  };
  const LastRead& Read(platform::RegKey key, const std::string& name);
  void Forget() { last_.key = platform::kNoKey; }

  LastRead last_;
};

}  // namespace win32
