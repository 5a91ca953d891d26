#pragma once

// Typing the first letters of a name to select it in a generated submenu, as in Windows' list
// views: a plain rule over the items' names as shown and the text typed so far.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/menu_typing.h"
#include "platform/text_order.h"

namespace app {

// Typing into a submenu: a key after a longer pause starts the text anew, as in list views.
inline constexpr std::int64_t kTypingPauseMs = 1000;

// What the items of a submenu are.
enum class ListKind {
  kNames,         // programs or processes: typing selects among them
  kLetterGroups,  // "All Programs" split by initial: "A" to "Z", then "#" for the rest
};

// What has been typed into one submenu so far.
struct TypedText {
  std::string text;  // UTF-8, as typed
  std::int64_t last_key_ms = 0;
  std::optional<std::size_t> selected;  // the item the text selected last
  friend bool operator==(const TypedText&, const TypedText&) = default;
};

struct TypeStep {
  framework::TMenuTyping::Answer answer;
  TypedText state;
};

// Whether the text still grows with the next key at now_ms: there is one, and no pause since.
bool IsTyping(const TypedText& state, std::int64_t now_ms);

// The answer to one key, and the text after it. names: the items as shown, "" for a
// separator. Letter case is compared through fold.
TypeStep TypeToSelect(const std::vector<std::string>& names, ListKind kind, const TypedText& state,
                      const framework::TMenuTyping::Key& key, const platform::TextOrder& fold);

}  // namespace app
