#include "platform/win32/text_order.h"

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/utf.h"

namespace win32 {
namespace {

// The wide texts compared as the list control does; a and b are the same texts in UTF-8.
int CompareWide(const std::wstring& wide_a, const std::wstring& wide_b, const std::string& a,
                const std::string& b) {
  switch (::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wide_a.c_str(), -1, wide_b.c_str(),
                           -1)) {
    case CSTR_LESS_THAN:
      return -1;
    case CSTR_EQUAL:
      return 0;
    case CSTR_GREATER_THAN:
      return 1;
    default:
      // Only invalid arguments fail; a byte order keeps the result a consistent order.
      return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
  }
}

constexpr DWORD kSortFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
// Bytes: with LCMAP_SORTKEY the size counts bytes, not characters.
constexpr int kUsualSortKeySize = 512;

// The text's sort key: bytes that compare, as unsigned bytes, as CompareStringW compares the
// texts with the same flags. Nothing when the system cannot make one.
std::optional<std::string> SortKey(const std::wstring& wide) {
  // Most names' keys fit this room, and take one call; a longer one is measured first.
  std::array<BYTE, kUsualSortKeySize> usual;
  const int written = ::LCMapStringW(LOCALE_USER_DEFAULT, kSortFlags, wide.c_str(), -1,
                                     reinterpret_cast<LPWSTR>(usual.data()), kUsualSortKeySize);
  if (written > 0) return std::string(usual.begin(), usual.begin() + written);
  // Up to its terminator: the empty text has a key too.
  const int size = ::LCMapStringW(LOCALE_USER_DEFAULT, kSortFlags, wide.c_str(), -1, nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::string key(static_cast<std::size_t>(size), '\0');
  if (::LCMapStringW(LOCALE_USER_DEFAULT, kSortFlags, wide.c_str(), -1,
                     reinterpret_cast<LPWSTR>(key.data()), size) != size) {
    return std::nullopt;
  }
  return key;
}

// Each text's sort key, or nothing when one of them has none.
std::optional<std::vector<std::string>> SortKeys(const std::vector<std::wstring>& wide) {
  std::vector<std::string> keys;
  keys.reserve(wide.size());
  for (const std::wstring& text : wide) {
    auto key = SortKey(text);
    if (!key) return std::nullopt;
    keys.push_back(std::move(*key));
  }
  return keys;
}

}  // namespace

std::string TextOrder::FoldCase(std::string_view text) const {
  std::wstring wide = Utf8ToWide(text);
  if (wide.empty()) return {};
  // Upper case maps each unit to one unit, so the text keeps its length; linguistic casing
  // follows the locale where it differs (the Turkish dotted I).
  const int length = static_cast<int>(wide.size());
  std::wstring folded(wide.size(), L'\0');
  const int written = ::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING,
                                     wide.c_str(), length, folded.data(), length);
  // Only invalid arguments fail; the text then stays as it is, which still matches itself.
  if (written != length) return std::string(text);
  return WideToUtf8(folded);
}

int TextOrder::Compare(const std::string& a, const std::string& b) const {
  return CompareWide(Utf8ToWide(a), Utf8ToWide(b), a, b);
}

std::vector<std::size_t> TextOrder::StableOrder(
    const std::vector<const std::string*>& texts) const {
  std::vector<std::wstring> wide;
  wide.reserve(texts.size());
  for (const std::string* text : texts) wide.push_back(Utf8ToWide(*text));
  // A key made once per text spares a call into the locale at every comparison.
  if (const auto keys = SortKeys(wide)) {
    return platform::StableOrderBy(
        texts.size(), [&](std::size_t a, std::size_t b) { return (*keys)[a] < (*keys)[b]; });
  }
  return platform::StableOrderBy(texts.size(), [&](std::size_t a, std::size_t b) {
    return CompareWide(wide[a], wide[b], *texts[a], *texts[b]) < 0;
  });
}

}  // namespace win32
