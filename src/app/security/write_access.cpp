#include "app/security/write_access.h"

#include <array>
#include <cstdint>

namespace app {
namespace {

// Rights that let an account change a file or what a folder holds, or give itself more.
constexpr std::uint32_t kWriteData = 0x0002;       // FILE_WRITE_DATA, FILE_ADD_FILE
constexpr std::uint32_t kAppendData = 0x0004;      // FILE_APPEND_DATA, FILE_ADD_SUBDIRECTORY
constexpr std::uint32_t kDeleteChild = 0x0040;     // FILE_DELETE_CHILD
constexpr std::uint32_t kDelete = 0x00010000;      // DELETE
constexpr std::uint32_t kWriteDac = 0x00040000;    // WRITE_DAC
constexpr std::uint32_t kWriteOwner = 0x00080000;  // WRITE_OWNER
constexpr std::uint32_t kMaximumAllowed = 0x02000000;
constexpr std::uint32_t kGenericAll = 0x10000000;
constexpr std::uint32_t kGenericWrite = 0x40000000;
constexpr std::uint32_t kChangingRights = kWriteData | kAppendData | kDeleteChild | kDelete |
                                          kWriteDac | kWriteOwner | kMaximumAllowed | kGenericAll |
                                          kGenericWrite;

constexpr std::array<std::string_view, 4> kStandardUsers{kUsers, kAuthenticatedUsers, kEveryone,
                                                         kInteractive};

bool IsStandardUsers(std::string_view account) {
  for (const std::string_view group : kStandardUsers) {
    if (group == account) return true;
  }
  return false;
}

bool LetsStandardUsersChange(const FileSecurity& security) {
  if (security.everyone_allowed || IsStandardUsers(security.owner)) return true;
  for (const AccessEntry& entry : security.entries) {
    if (!entry.allows || entry.inherit_only) continue;
    if (IsStandardUsers(entry.account) && (entry.rights & kChangingRights) != 0) return true;
  }
  return false;
}

}  // namespace

bool StandardUsersMayChange(std::string_view security_text) {
  const auto security = ReadSecurityText(security_text);
  return !security || LetsStandardUsersChange(*security);
}

bool IsAdministratorsFolder(std::string_view security_text, std::string_view own_account) {
  const auto security = ReadSecurityText(security_text);
  if (!security || LetsStandardUsersChange(*security)) return false;
  const std::string& owner = security->owner;
  return owner == kAdministrators || owner == kSystemAccount ||
         (!own_account.empty() && owner == own_account);
}

}  // namespace app
