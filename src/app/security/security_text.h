#pragma once

// A file's owner and DACL as the system writes them out (SDDL), read into what the program's
// trust rules ask: who owns it, and which accounts each entry allows or denies what. Anything
// this reader does not understand is refused, so that a rule never trusts what it cannot read.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

struct AccessEntry {
  bool allows = false;        // an allowing entry; else one that denies
  bool inherit_only = false;  // it applies to what is made inside, not to the object itself
  std::uint32_t rights = 0;   // the access mask, generic rights as given
  std::string account;        // a SID as "S-1-..."
};

struct FileSecurity {
  std::string owner;  // a SID as "S-1-..."; empty when the text gave none
  // No DACL at all ("NO_ACCESS_CONTROL"): everyone may do everything.
  bool everyone_allowed = false;
  std::vector<AccessEntry> entries;
};

// Well-known accounts, as SIDs.
inline constexpr std::string_view kAdministrators = "S-1-5-32-544";
inline constexpr std::string_view kSystemAccount = "S-1-5-18";
inline constexpr std::string_view kUsers = "S-1-5-32-545";
inline constexpr std::string_view kAuthenticatedUsers = "S-1-5-11";
inline constexpr std::string_view kEveryone = "S-1-1-0";
inline constexpr std::string_view kInteractive = "S-1-5-4";

// The owner and DACL of the text, or nothing when it holds no DACL or anything unknown.
std::optional<FileSecurity> ReadSecurityText(std::string_view text);

}  // namespace app
