#include "app/security/security_text.h"

#include <array>
#include <utility>

namespace app {
namespace {

// Longer texts are no file's security: a DACL holds at most 64 KB.
constexpr std::size_t kMaxTextSize = 64 * 1024;

constexpr std::array<std::pair<std::string_view, std::string_view>, 16> kAccountAliases{{
    {"BA", kAdministrators},
    {"SY", kSystemAccount},
    {"BU", kUsers},
    {"AU", kAuthenticatedUsers},
    {"WD", kEveryone},
    {"IU", kInteractive},
    {"BG", "S-1-5-32-546"},
    {"PU", "S-1-5-32-547"},
    {"CO", "S-1-3-0"},
    {"CG", "S-1-3-1"},
    {"OW", "S-1-3-4"},
    {"AN", "S-1-5-7"},
    {"LS", "S-1-5-19"},
    {"NS", "S-1-5-20"},
    {"RC", "S-1-5-12"},
    {"AC", "S-1-15-2-1"},
}};

constexpr std::array<std::pair<std::string_view, std::uint32_t>, 27> kRightNames{{
    {"GA", 0x10000000}, {"GX", 0x20000000}, {"GW", 0x40000000}, {"GR", 0x80000000},
    {"SD", 0x00010000}, {"RC", 0x00020000}, {"WD", 0x00040000}, {"WO", 0x00080000},
    {"FA", 0x001F01FF}, {"FR", 0x00120089}, {"FW", 0x00120116}, {"FX", 0x001200A0},
    {"KA", 0x000F003F}, {"KR", 0x00020019}, {"KW", 0x00020006}, {"KX", 0x00020019},
    {"CC", 0x00000001}, {"DC", 0x00000002}, {"LC", 0x00000004}, {"SW", 0x00000008},
    {"RP", 0x00000010}, {"WP", 0x00000020}, {"DT", 0x00000040}, {"LO", 0x00000080},
    {"CR", 0x00000100}, {"NR", 0x00000000}, {"NW", 0x00000000},
}};

constexpr std::array<std::string_view, 7> kKnownAceFlags{"OI", "CI", "NP", "IO", "ID", "SA", "FA"};

bool IsSidText(std::string_view text) {
  if (!text.starts_with("S-1-") || text.size() > 200) return false;
  for (const char c : text.substr(4)) {
    if ((c < '0' || c > '9') && c != '-') return false;
  }
  return text.back() != '-';
}

// "S-1-..." or a two-letter alias this reader knows; an alias it does not know gives "".
std::optional<std::string> Account(std::string_view text) {
  if (IsSidText(text)) return std::string(text);
  if (text.size() != 2) return std::nullopt;
  for (const auto& [alias, sid] : kAccountAliases) {
    if (alias == text) return std::string(sid);
  }
  // Another alias (a domain's groups, say) is not one of the accounts the rules look for.
  return std::string("?") + std::string(text);
}

std::optional<std::uint32_t> HexNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t number = 0;
  for (const char c : digits) {
    std::uint32_t digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<std::uint32_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<std::uint32_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<std::uint32_t>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    number = number * 16 + digit;
  }
  return number;
}

std::optional<std::uint32_t> Rights(std::string_view text) {
  if (text.starts_with("0x") || text.starts_with("0X")) return HexNumber(text.substr(2));
  if (text.empty() || text.size() % 2 != 0) return std::nullopt;
  std::uint32_t rights = 0;
  for (std::size_t at = 0; at < text.size(); at += 2) {
    bool known = false;
    for (const auto& [name, bits] : kRightNames) {
      if (name != text.substr(at, 2)) continue;
      rights |= bits;
      known = true;
    }
    if (!known) return std::nullopt;
  }
  return rights;
}

// The ACE's flags; whether it is inherit-only, or nothing for a flag this reader does not know.
std::optional<bool> InheritOnly(std::string_view flags) {
  if (flags.size() % 2 != 0) return std::nullopt;
  bool inherit_only = false;
  for (std::size_t at = 0; at < flags.size(); at += 2) {
    const std::string_view flag = flags.substr(at, 2);
    bool known = false;
    for (const std::string_view name : kKnownAceFlags) known = known || name == flag;
    if (!known) return std::nullopt;
    inherit_only = inherit_only || flag == "IO";
  }
  return inherit_only;
}

// "type;flags;rights;object;inherited object;account": only plain allowing and denying entries.
std::optional<AccessEntry> ReadEntry(std::string_view text) {
  std::array<std::string_view, 6> fields;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::size_t cut = text.find(';');
    if ((cut == std::string_view::npos) != (i + 1 == fields.size())) return std::nullopt;
    fields[i] = text.substr(0, cut);
    text = cut == std::string_view::npos ? std::string_view{} : text.substr(cut + 1);
  }
  if (fields[0] != "A" && fields[0] != "D") return std::nullopt;
  if (!fields[3].empty() || !fields[4].empty()) return std::nullopt;
  const auto inherit_only = InheritOnly(fields[1]);
  const auto rights = Rights(fields[2]);
  const auto account = Account(fields[5]);
  if (!inherit_only || !rights || !account) return std::nullopt;
  return AccessEntry{fields[0] == "A", *inherit_only, *rights, *account};
}

// "D:" and what follows it up to the next part: its flags, then "(entry)" after "(entry)".
bool ReadDacl(std::string_view text, FileSecurity& security) {
  if (text.starts_with("NO_ACCESS_CONTROL")) {
    security.everyone_allowed = true;
    text.remove_prefix(std::string_view("NO_ACCESS_CONTROL").size());
  }
  const std::size_t first = text.find('(');
  const std::string_view flags = text.substr(0, first);
  if (flags.find_first_not_of("PAIRNO_CESTL") != std::string_view::npos) return false;
  if (first == std::string_view::npos) return true;
  text.remove_prefix(first);
  while (!text.empty()) {
    const std::size_t close = text.find(')');
    if (text.front() != '(' || close == std::string_view::npos) return false;
    const auto entry = ReadEntry(text.substr(1, close - 1));
    if (!entry) return false;
    security.entries.push_back(*entry);
    text.remove_prefix(close + 1);
  }
  return true;
}

// Where the part that begins at from ends: at the next "X:" of another part.
std::size_t PartEnd(std::string_view text, std::size_t from) {
  for (std::size_t at = from; at + 1 < text.size(); ++at) {
    const bool part = (text[at] == 'O' || text[at] == 'G' || text[at] == 'D' || text[at] == 'S') &&
                      text[at + 1] == ':';
    // Inside "(...)" a part's letter is an account's or a right's.
    if (text[at] == '(') at = text.find(')', at);
    if (at == std::string_view::npos) return text.size();
    if (part) return at;
  }
  return text.size();
}

}  // namespace

std::optional<FileSecurity> ReadSecurityText(std::string_view text) {
  if (text.size() > kMaxTextSize) return std::nullopt;
  FileSecurity security;
  bool has_dacl = false;
  for (std::size_t at = 0; at < text.size();) {
    if (at + 2 > text.size() || text[at + 1] != ':') return std::nullopt;
    const char part = text[at];
    const std::size_t end = PartEnd(text, at + 2);
    const std::string_view body = text.substr(at + 2, end - at - 2);
    if (part == 'O') {
      const auto owner = Account(body);
      if (!owner) return std::nullopt;
      security.owner = *owner;
    } else if (part == 'D') {
      if (!ReadDacl(body, security)) return std::nullopt;
      has_dacl = true;
    } else if (part != 'G') {
      return std::nullopt;
    }
    at = end;
  }
  if (!has_dacl) return std::nullopt;
  return security;
}

}  // namespace app
