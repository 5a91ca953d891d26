#pragma once

#include <string>
#include <vector>

#include "platform/raw_registry.h"

namespace win32 {

// The raw registry over the wide Win32 calls. Text values (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ)
// are UTF-16 in the store and UTF-8 above the seam. It keeps nothing between calls, so it is safe
// from any thread, as the seam asks.
class Registry : public platform::RawRegistry {
 public:
  // Room for a value of a few kilobytes in the first call: under Wine every call is a round trip
  // to the registry's server. On the stack of the reading thread.
  static constexpr std::uint32_t kFirstReadSize = 4096;

  platform::RegResult OpenKey(platform::RegKey base, const std::string& path, std::uint32_t access,
                              platform::RegKey* opened) override;
  platform::RegResult OpenKeyItself(platform::RegKey base, const std::string& path,
                                    std::uint32_t access, platform::RegKey* opened) override;
  // RegRenameKey and NtDeleteKey are looked up at run time: mingw's import libraries may lack
  // them, and RegRenameKey came with Vista. Without them, access denied.
  platform::RegResult RenameKey(platform::RegKey key, const std::string& new_name) override;
  platform::RegResult DeleteOpenKey(platform::RegKey key) override;
  platform::RegResult CreateKey(platform::RegKey base, const std::string& path,
                                std::uint32_t access, platform::RegKey* opened) override;
  platform::RegResult ReadValue(platform::RegKey key, const std::string& name, std::uint32_t& type,
                                std::vector<std::uint8_t>& data) override;
  // One call for a value that fits kFirstReadSize bytes as stored; a larger one is asked for
  // again with room for it.
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
};

}  // namespace win32
