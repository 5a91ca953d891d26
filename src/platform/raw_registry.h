#pragma once

// The raw registry seam: the handful of registry calls the program makes, with Win32 result
// codes and UTF-8 names. Text data (REG_SZ, REG_EXPAND_SZ) crosses this seam as UTF-8 bytes,
// terminators included, so byte-level rules above it hold whatever the platform stores.
//
// Safe from any thread: threads may call it at once, each through keys of its own. An open key
// is used by one thread at a time.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

using RegKey = std::uintptr_t;  // an open key, or one of the predefined roots; 0 is none
using RegResult = long;         // Win32 error code

inline constexpr RegKey kNoKey = 0;
inline constexpr RegKey kHkeyCurrentUser = 0x80000001u;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002u;

inline constexpr RegResult kRegOk = 0;             // ERROR_SUCCESS
inline constexpr RegResult kRegNotFound = 2;       // ERROR_FILE_NOT_FOUND
inline constexpr RegResult kRegAccessDenied = 5;   // ERROR_ACCESS_DENIED
inline constexpr RegResult kRegInvalidHandle = 6;  // ERROR_INVALID_HANDLE
inline constexpr RegResult kRegMoreData = 234;     // ERROR_MORE_DATA
inline constexpr RegResult kRegNoMoreItems = 259;  // ERROR_NO_MORE_ITEMS

inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;
inline constexpr std::uint32_t kRegLink = 6;

inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kKeyWow64_64Key = 0x0100;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x0200;

class RawRegistry {
 public:
  virtual ~RawRegistry() = default;

  // RegOpenKeyEx: an empty path opens base itself (a new handle to it). The key opened is
  // written to *opened; on failure *opened is left as it was or set to kNoKey, so an owner's
  // put() can be given (unique_handle.h).
  virtual RegResult OpenKey(RegKey base, const std::string& path, std::uint32_t access,
                            RegKey* opened) = 0;
  // RegOpenKeyEx with REG_OPTION_OPEN_LINK: the last part of path is opened itself, a link as
  // the link (its one REG_LINK value showing), never the key it leads to.
  virtual RegResult OpenKeyItself(RegKey base, const std::string& path, std::uint32_t access,
                                  RegKey* opened) = 0;
  // RegRenameKey of the open key itself, which keeps its values and subkeys; handles open on it
  // follow it. Onto a name that is taken it fails (access denied).
  virtual RegResult RenameKey(RegKey key, const std::string& new_name) = 0;
  // NtDeleteKey: deletes the open key itself, which must have no subkeys left. Opened itself, a
  // link goes alone, and the key it leads to stays.
  virtual RegResult DeleteOpenKey(RegKey key) = 0;
  // RegCreateKeyEx with REG_OPTION_NON_VOLATILE: creates every missing key along the path.
  // *opened as for OpenKey.
  virtual RegResult CreateKey(RegKey base, const std::string& path, std::uint32_t access,
                              RegKey* opened) = 0;
  // RegQueryValueEx of the whole value: its type and all of its data, whatever their size.
  virtual RegResult ReadValue(RegKey key, const std::string& name, std::uint32_t& type,
                              std::vector<std::uint8_t>& data) = 0;
  virtual RegResult SetValue(RegKey key, const std::string& name, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t size) = 0;
  virtual RegResult DeleteValue(RegKey key, const std::string& name) = 0;
  // RegQueryValueEx of the whole value exactly as stored: text stays UTF-16LE, and an odd
  // byte count stays odd (registry_text.h has the seam's conversion). A value of more than
  // limit bytes is not read: kRegMoreData, with data left as it was.
  virtual RegResult ReadStoredValue(RegKey key, const std::string& name, std::size_t limit,
                                    std::uint32_t& type, std::vector<std::uint8_t>& data) = 0;
  // RegEnumValue: the name of value number index ("" for the default value), or
  // kRegNoMoreItems.
  virtual RegResult EnumValueName(RegKey key, std::uint32_t index, std::string& name) = 0;
  // RegDeleteTree: the named subkey of key, with its values and every key under it. The key
  // needs DELETE, KEY_ENUMERATE_SUB_KEYS and KEY_QUERY_VALUE (KEY_ALL_ACCESS has them). A key
  // it could not delete stays, with whatever was left in it.
  virtual RegResult DeleteTree(RegKey key, const std::string& subkey) = 0;
  // RegQueryInfoKey: the number of direct subkeys.
  virtual RegResult QueryInfoKey(RegKey key, std::uint32_t& subkeys) = 0;
  // RegEnumKeyEx: the name of subkey number index, or kRegNoMoreItems.
  virtual RegResult EnumKey(RegKey key, std::uint32_t index, std::string& name) = 0;
  virtual RegResult CloseKey(RegKey key) = 0;

  // Whether KEY_WOW64_64KEY reaches other keys under HKEY_LOCAL_MACHINE than the default view:
  // only for a 32-bit process on 64-bit Windows. Elsewhere the flag is ignored, and the user's
  // keys are shared by both views on every system.
  virtual bool HasSeparate64BitView() const = 0;
};

}  // namespace platform
