#include "app/listing/entry_id.h"

#include <array>
#include <cstdint>

#include "platform/wtf8.h"

namespace app {
namespace {

struct Root {
  EntryView view;
  std::string_view text;
};

constexpr std::array<Root, 3> kRoots = {{
    {EntryView::kMachineDefault, "HKLM32"},
    {EntryView::kMachine64, "HKLM64"},
    {EntryView::kUser, "HKCU"},
}};

constexpr char kRootEnd = '/';
constexpr char kEscape = '%';
constexpr char kWideEscape = 'u';
constexpr std::size_t kNarrowDigits = 2;
constexpr std::size_t kWideDigits = 4;
constexpr char16_t kFirstNonAscii = 0x80;
constexpr char16_t kKeySeparator = u'\\';
constexpr char16_t kZeroUnit = 0;
constexpr std::string_view kHexDigits = "0123456789ABCDEF";
constexpr unsigned kBitsPerDigit = 4;
constexpr unsigned kDigitMask = 0xF;

using Units = std::u16string;

bool IsUnreserved(char16_t unit) {
  if (unit >= u'A' && unit <= u'Z') return true;
  if (unit >= u'a' && unit <= u'z') return true;
  if (unit >= u'0' && unit <= u'9') return true;
  return unit == u'-' || unit == u'.' || unit == u'_' || unit == u'~' || unit == u'{' ||
         unit == u'}';
}

bool IsKeyName(const Units& units) {
  if (units.empty() || units.size() > kMostKeyNameUnits) return false;
  for (char16_t unit : units) {
    if (unit == kKeySeparator || unit == kZeroUnit) return false;
  }
  return true;
}

void AppendHex(std::string& out, char16_t unit, std::size_t digits) {
  for (std::size_t left = digits; left > 0; --left) {
    out += kHexDigits[(unit >> (kBitsPerDigit * (left - 1))) & kDigitMask];
  }
}

void AppendUnit(std::string& out, char16_t unit) {
  if (IsUnreserved(unit)) {
    out += static_cast<char>(unit);
    return;
  }
  out += kEscape;
  if (unit < kFirstNonAscii) {
    AppendHex(out, unit, kNarrowDigits);
    return;
  }
  out += kWideEscape;
  AppendHex(out, unit, kWideDigits);
}

// The value of `digits` upper-case hex digits at text[at]; none when any is missing or other.
std::optional<char16_t> ReadHex(std::string_view text, std::size_t at, std::size_t digits) {
  if (at > text.size() || text.size() - at < digits) return std::nullopt;
  char16_t value = 0;
  for (std::size_t k = 0; k < digits; ++k) {
    const std::size_t digit = kHexDigits.find(text[at + k]);
    if (digit == std::string_view::npos) return std::nullopt;
    value = static_cast<char16_t>((value << kBitsPerDigit) | digit);
  }
  return value;
}

// The one unit spelled at text[at] and how many characters its spelling takes; none when the
// spelling is not the unit's one spelling.
struct ReadUnit {
  char16_t unit;
  std::size_t length;
};

std::optional<ReadUnit> ReadEscape(std::string_view text, std::size_t at) {
  const bool wide = at + 1 < text.size() && text[at + 1] == kWideEscape;
  const std::size_t digits_at = at + (wide ? 2 : 1);
  const std::size_t digits = wide ? kWideDigits : kNarrowDigits;
  const std::optional<char16_t> unit = ReadHex(text, digits_at, digits);
  if (!unit || IsUnreserved(*unit) || (*unit >= kFirstNonAscii) != wide) return std::nullopt;
  return ReadUnit{*unit, digits_at + digits - at};
}

std::optional<ReadUnit> ReadSpelling(std::string_view text, std::size_t at) {
  if (text[at] == kEscape) return ReadEscape(text, at);
  const auto unit = static_cast<char16_t>(static_cast<unsigned char>(text[at]));
  if (!IsUnreserved(unit)) return std::nullopt;
  return ReadUnit{unit, 1};
}

std::optional<Units> DecodeKeyName(std::string_view text) {
  Units units;
  for (std::size_t at = 0; at < text.size();) {
    const std::optional<ReadUnit> read = ReadSpelling(text, at);
    if (!read) return std::nullopt;
    units += read->unit;
    at += read->length;
  }
  return units;
}

std::optional<EntryView> ViewOf(std::string_view root) {
  for (const Root& known : kRoots) {
    if (known.text == root) return known.view;
  }
  return std::nullopt;
}

std::string_view RootOf(EntryView view) {
  for (const Root& known : kRoots) {
    if (known.view == view) return known.text;
  }
  return {};
}

}  // namespace

std::optional<std::string> EncodeEntryId(EntryView view, std::string_view key_name) {
  const std::string_view root = RootOf(view);
  const Units units = text::Wtf8ToUtf16<char16_t>(key_name);
  if (root.empty() || !IsKeyName(units)) return std::nullopt;
  // Bytes that are no WTF-8 would come back as U+FFFD: the id would name another key.
  if (text::Utf16ToWtf8(std::u16string_view(units)) != key_name) return std::nullopt;
  std::string id(root);
  id += kRootEnd;
  for (char16_t unit : units) AppendUnit(id, unit);
  return id;
}

std::optional<EntryId> ParseEntryId(std::string_view id) {
  if (id.size() > kMostEntryIdLength) return std::nullopt;
  const std::size_t root_end = id.find(kRootEnd);
  if (root_end == std::string_view::npos) return std::nullopt;
  const std::optional<EntryView> view = ViewOf(id.substr(0, root_end));
  if (!view) return std::nullopt;
  const std::optional<Units> units = DecodeKeyName(id.substr(root_end + 1));
  if (!units || !IsKeyName(*units)) return std::nullopt;
  return EntryId{*view, text::Utf16ToWtf8(std::u16string_view(*units))};
}

}  // namespace app
