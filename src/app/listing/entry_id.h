#pragma once

// An uninstall entry named for scripts: one ASCII word, no blanks or quotes, the same from run
// to run, that leads back to exactly one key.
//
//   <root>/<key name>
//
// The root is "HKLM32" (the machine's key as this 32-bit program sees it), "HKLM64" (the
// machine's key through the 64-bit view) or "HKCU" (the user's key, one key in both views).
// The key name is written unit by unit of its UTF-16 text:
//   - A-Z a-z 0-9 - . _ ~ { } as they are ("{" and "}" keep product codes readable);
//   - any other unit below 0x80 as "%XX";
//   - every unit from 0x80 up, lone surrogates included, as "%uXXXX".
// Hex digits are upper case and "u" lower case. Each unit has exactly one spelling, so an entry
// has one id, and every sequence of units, paired or not, comes back as it was:
//   HKLM32/{90160000-0011-0000-0000-0000000FF1CE}
//   HKCU/Tool%20%22x%22%2F2   (Tool "x"/2)
//   HKLM64/Caf%u00E9%uD800     (Café and a lone high surrogate)
// The key name is a name below the uninstall key, never a path: a "/" in it is "%2F", and ".."
// is the key named "..".

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/paths/entry_view.h"

namespace app {

// The registry's own limit on a key name, in UTF-16 units.
inline constexpr std::size_t kMostKeyNameUnits = 255;
// The longest id: the longest root ("HKLM32"), its "/", and every unit at its longest spelling
// ("%uXXXX").
inline constexpr std::size_t kLongestRoot = 6;
inline constexpr std::size_t kLongestSpelling = 6;
inline constexpr std::size_t kMostEntryIdLength =
    kLongestRoot + 1 + kMostKeyNameUnits * kLongestSpelling;

struct EntryId {
  EntryView view = EntryView::kMachineDefault;
  std::string key_name;  // WTF-8
};

// The id of the entry key_name (WTF-8) in view. None for a name no entry key can have and that
// would lead elsewhere: empty, longer than the registry allows, holding a "\" (a path to
// another key) or a zero unit (where the system's calls would end it), or bytes that are no
// WTF-8 (they would come back as U+FFFD).
std::optional<std::string> EncodeEntryId(EntryView view, std::string_view key_name);

// The entry an id names. None for anything EncodeEntryId would not have written: an unknown
// root, a missing "/", a character outside the spellings above, an escape that is cut short or
// in lower-case hex, an escape for a unit that has a shorter spelling, or a name it refuses.
std::optional<EntryId> ParseEntryId(std::string_view id);

}  // namespace app
