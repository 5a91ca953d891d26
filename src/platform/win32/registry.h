#pragma once

#include "platform/raw_registry.h"

namespace win32 {

// The raw registry over the wide Win32 calls. Text values (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ)
// are UTF-16 in the store and UTF-8 above the seam; sizes reported are always UTF-8 sizes, so a
// size query and the read that follows it agree.
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
};

}  // namespace win32
