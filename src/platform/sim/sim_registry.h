#pragma once

// An in-memory registry behind the raw registry seam, seen as a 32-bit process on 64-bit
// Windows sees it.
//
// Names of keys and values ignore ASCII letter case and keep the case they were first written
// with. Subkeys enumerate in name order, lower-case folded, as Wine's registry does.
//
// Views (on 64-bit Windows, the default): under HKEY_LOCAL_MACHINE a path whose first part is
// "SOFTWARE" (any case) is redirected to "SOFTWARE\Wow6432Node\..." unless the access mask has
// KEY_WOW64_64KEY; a path that already names Wow6432Node there is left alone. HKEY_CURRENT_USER has
// one view. A handle is the key it was opened on, not its path: opens relative to it continue
// there, and it follows the key when the key is renamed, as on Windows.
//
// Links: a key made by SetLink redirects every open through it to its target, except the last
// part of an OpenKeyItself; opened itself, it shows its one REG_LINK value "SymbolicLinkValue".
//
// Test helpers take physical paths, used literally: "SOFTWARE\Wow6432Node\..." is the 32-bit
// view, "SOFTWARE\..." the 64-bit one.
//
// Safe from any thread, seam and test side alike: one lock guards the whole store, so threads
// reading at once see it as the real registry shows it, one call at a time.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/mutex.h"
#include "platform/raw_registry.h"
#include "platform/sim/sim_ascii.h"

namespace sim {

// ERROR_KEY_DELETED: the key behind an open handle was deleted by a test.
inline constexpr platform::RegResult kRegKeyDeleted = 1018;
// ERROR_INVALID_PARAMETER: data to store without a size.
inline constexpr platform::RegResult kRegInvalidParameter = 87;
// ERROR_CANT_RESOLVE_FILENAME: links that lead into each other.
inline constexpr platform::RegResult kRegLinkLoop = 1921;

class Registry final : public platform::RawRegistry {
 public:
  Registry();
  ~Registry() override;
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  // The seam.
  platform::RegResult OpenKey(platform::RegKey base, const std::string& path, std::uint32_t access,
                              platform::RegKey* opened) override;
  platform::RegResult OpenKeyItself(platform::RegKey base, const std::string& path,
                                    std::uint32_t access, platform::RegKey* opened) override;
  platform::RegResult CreateKey(platform::RegKey base, const std::string& path,
                                std::uint32_t access, platform::RegKey* opened) override;
  // Fails with access denied onto a name that is taken, as Windows does.
  platform::RegResult RenameKey(platform::RegKey key, const std::string& new_name) override;
  platform::RegResult DeleteOpenKey(platform::RegKey key) override;
  platform::RegResult ReadValue(platform::RegKey key, const std::string& name, std::uint32_t& type,
                                std::vector<std::uint8_t>& data) override;
  platform::RegResult ReadStoredValue(platform::RegKey key, const std::string& name,
                                      std::size_t limit, std::uint32_t& type,
                                      std::vector<std::uint8_t>& data) override;
  platform::RegResult EnumValueName(platform::RegKey key, std::uint32_t index,
                                    std::string& name) override;
  // Deletes what it can, as RegDeleteTree does: a key kept from deletion stays, with the keys
  // above it, and the result is access denied.
  platform::RegResult DeleteTree(platform::RegKey key, const std::string& subkey) override;
  platform::RegResult SetValue(platform::RegKey key, const std::string& name, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) override;
  platform::RegResult DeleteValue(platform::RegKey key, const std::string& name) override;
  platform::RegResult QueryInfoKey(platform::RegKey key, std::uint32_t& subkeys) override;
  platform::RegResult EnumKey(platform::RegKey key, std::uint32_t index,
                              std::string& name) override;
  platform::RegResult CloseKey(platform::RegKey key) override;
  bool HasSeparate64BitView() const override;

  // Test side. Roots are kHkeyLocalMachine and kHkeyCurrentUser; anything else throws
  // std::invalid_argument.

  // Plays 64-bit Windows (the default: two HKLM views) or 32-bit Windows, where nothing is
  // redirected and KEY_WOW64_64KEY is ignored.
  void SetSystem64(bool system64);

  // Applies a .reg file (see sim_reg_text.h). All or nothing: a malformed line throws
  // std::invalid_argument naming its line number and changes nothing.
  void LoadRegText(std::string_view text);

  // Makes the key a link to target (its parents are made; the target need not exist).
  void SetLink(platform::RegKey root, std::string_view physical_path, platform::RegKey target_root,
               std::string_view target_physical_path);
  // Creates the key and its parents.
  void CreatePhysicalKey(platform::RegKey root, std::string_view physical_path);
  // Deletes the key with all its subkeys; false when it did not exist.
  bool DeletePhysicalKey(platform::RegKey root, std::string_view physical_path);
  // Creates the key if needed and stores the value as the seam would read it back: any type,
  // any bytes, text as UTF-8 (stored as UTF-16LE, no terminator added).
  void SetValue(platform::RegKey root, std::string_view physical_path, std::string_view name,
                std::uint32_t type, std::vector<std::uint8_t> bytes);
  // Stores the bytes exactly as the registry keeps them: text as UTF-16LE, odd counts allowed.
  void SetRawValue(platform::RegKey root, std::string_view physical_path, std::string_view name,
                   std::uint32_t type, std::vector<std::uint8_t> bytes);
  // REG_SZ (or REG_EXPAND_SZ) text as UTF-8 with its terminating zero byte.
  void SetText(platform::RegKey root, std::string_view physical_path, std::string_view name,
               std::string_view text, std::uint32_t type = platform::kRegSz);
  void SetDword(platform::RegKey root, std::string_view physical_path, std::string_view name,
                std::uint32_t value);
  bool DeletePhysicalValue(platform::RegKey root, std::string_view physical_path,
                           std::string_view name);
  // Opening or creating the key (not its parents or subkeys) then fails with access denied.
  void DenyAccess(platform::RegKey root, std::string_view physical_path, bool deny = true);
  // DeleteTree then leaves the key (and so its parents) in place, as one whose rights forbid it.
  void KeepFromDeletion(platform::RegKey root, std::string_view physical_path, bool keep = true);

  // The value as the seam reads it (text as UTF-8), or as stored.
  std::optional<std::pair<std::uint32_t, std::vector<std::uint8_t>>> Value(
      platform::RegKey root, std::string_view physical_path, std::string_view name) const;
  std::optional<std::pair<std::uint32_t, std::vector<std::uint8_t>>> RawValue(
      platform::RegKey root, std::string_view physical_path, std::string_view name) const;
  bool KeyExists(platform::RegKey root, std::string_view physical_path) const;
  // The subkey names in enumeration order; empty when the key does not exist.
  std::vector<std::string> SubkeyNames(platform::RegKey root, std::string_view physical_path) const;
  std::size_t OpenHandleCount() const;

 private:
  struct StoredValue {
    std::string name;
    std::uint32_t type = platform::kRegNone;
    std::vector<std::uint8_t> data;  // as the registry stores it: text as UTF-16LE
  };
  using Path = std::vector<std::string>;
  struct Location {
    platform::RegKey root = platform::kNoKey;
    Path path;
  };
  struct Key {
    std::string name;
    Key* parent = nullptr;  // none for a root
    bool deleted = false;
    bool denied = false;
    bool undeletable = false;
    std::optional<Location> link;  // where a link leads
    std::map<std::string, std::shared_ptr<Key>, CaselessLess> subkeys;
    std::map<std::string, StoredValue, CaselessLess> values;
  };

  Key& RootKey(platform::RegKey root) REQUIRES(mutex_);
  const Key* RootKeyOrNull(platform::RegKey root) const REQUIRES(mutex_);
  const Key* Find(const Location& location) const REQUIRES(mutex_);
  Key* Find(const Location& location) REQUIRES(mutex_);
  Key& Make(const Location& location) REQUIRES(mutex_);
  static Key& Child(Key& parent, const std::string& name);
  // Resolves an open handle to its key: kRegOk, kRegInvalidHandle or kRegKeyDeleted.
  platform::RegResult Resolve(platform::RegKey key, Key*& found) REQUIRES(mutex_);
  // The parts of path from base, with the 32-bit view's redirection applied.
  std::optional<Path> Parts(const Key& base, const std::string& path, std::uint32_t access) const
      REQUIRES(mutex_);
  // Goes down parts from start, through links, and at the end too unless open_link.
  platform::RegResult Walk(Key& start, const Path& parts, bool create, bool open_link, Key*& found)
      REQUIRES(mutex_);
  platform::RegResult Open(platform::RegKey base, const std::string& path, std::uint32_t access,
                           bool create, bool open_link, platform::RegKey* opened) REQUIRES(mutex_);
  void Detach(Key& key) REQUIRES(mutex_);
  Location Physical(platform::RegKey root, std::string_view physical_path) const REQUIRES(mutex_);
  // The test side's changes, with the lock held.
  bool DeleteKeyAt(const Location& location) REQUIRES(mutex_);
  void StoreValue(const Location& location, std::string_view name, std::uint32_t type,
                  std::vector<std::uint8_t> bytes) REQUIRES(mutex_);
  bool DeleteValueAt(const Location& location, std::string_view name) REQUIRES(mutex_);
  // Deletes the key's values and every subkey that can go; true when nothing is left.
  static bool EmptyTree(Key& key);
  static void MarkDeleted(Key& key);

  // Guards everything below; the helpers above are called with it held.
  mutable platform::Mutex mutex_;

  std::shared_ptr<Key> machine_ GUARDED_BY(mutex_);
  std::shared_ptr<Key> user_ GUARDED_BY(mutex_);
  std::map<platform::RegKey, std::shared_ptr<Key>> handles_ GUARDED_BY(mutex_);
  platform::RegKey next_handle_ GUARDED_BY(mutex_);
  bool system64_ GUARDED_BY(mutex_) = true;
};

}  // namespace sim
