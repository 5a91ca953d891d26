#include "app/menu/type_to_select.h"

#include <string_view>
#include <utility>

#include "platform/text.h"
#include "platform/wtf8.h"

namespace app {
namespace {

using Action = framework::TMenuTyping::Answer::Action;
using Key = framework::TMenuTyping::Key;
using text::wtf8_detail::DecodeAt;

// The group of every initial that is no letter from A to Z.
constexpr std::string_view kOtherGroup = "#";

// The first count characters of text (all of it when shorter).
std::string_view Head(std::string_view text, std::size_t count) {
  std::size_t at = 0;
  for (std::size_t n = 0; n < count && at < text.size(); ++n) at += DecodeAt(text, at).length;
  return text.substr(0, at);
}

std::size_t Characters(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < text.size(); ++count) at += DecodeAt(text, at).length;
  return count;
}

void DropLastCharacter(std::string& text) {
  std::size_t last = 0;
  for (std::size_t at = 0; at < text.size(); at += DecodeAt(text, at).length) last = at;
  text.erase(last);
}

// The typed text, folded once, compared with the heads of the names.
class Prefix {
 public:
  Prefix(std::string_view typed, const platform::TextOrder& fold)
      : fold_(fold), folded_(fold.FoldCase(typed)), length_(Characters(typed)) {}

  bool Begins(std::string_view name) const {
    return !name.empty() && fold_.FoldCase(Head(name, length_)) == folded_;
  }
  // Two or more of one character: "sss".
  bool IsOneLetterRepeated() const {
    if (length_ < 2) return false;
    const std::string_view first = Head(folded_, 1);
    for (std::size_t at = 0; at < folded_.size(); at += first.size()) {
      if (folded_.compare(at, first.size(), first) != 0) return false;
    }
    return true;
  }
  // The same prefix cut to its first character.
  Prefix Initial() const { return Prefix(Head(folded_, 1), fold_); }

 private:
  const platform::TextOrder& fold_;
  std::string folded_;
  std::size_t length_;
};

std::optional<std::size_t> FirstBeginning(const std::vector<std::string>& names,
                                          const Prefix& prefix) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (prefix.Begins(names[i])) return i;
  }
  return std::nullopt;
}

// The next name after the one selected that begins with the prefix, wrapping at the end.
std::optional<std::size_t> NextBeginning(const std::vector<std::string>& names,
                                         const Prefix& prefix, std::optional<std::size_t> after) {
  const std::size_t count = names.size();
  const std::size_t start = after ? *after + 1 : 0;
  for (std::size_t n = 0; n < count; ++n) {
    const std::size_t i = (start + n) % count;
    if (prefix.Begins(names[i])) return i;
  }
  return std::nullopt;
}

TypeStep Selecting(std::optional<std::size_t> found, TypedText state) {
  if (!found) return {{}, std::move(state)};  // no match: the selection stays
  state.selected = found;
  return {{Action::kSelect, *found}, std::move(state)};
}

// The group of the text's initial opens, as "All Programs" was split: an ASCII letter's own,
// "#" for every other initial. The text goes on inside it.
TypeStep OpeningGroup(const std::vector<std::string>& names, TypedText state) {
  const std::string initial = text::UpperAscii(state.text.substr(0, 1));
  const bool letter = initial[0] >= 'A' && initial[0] <= 'Z';
  const std::string_view group_name = letter ? std::string_view(initial) : kOtherGroup;
  state.selected.reset();  // nothing is selected by the text inside the group yet
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == group_name) return {{Action::kOpen, i}, std::move(state)};
  }
  return {{}, std::move(state)};
}

TypeStep Backspace(const std::vector<std::string>& names, const TypedText& state,
                   std::int64_t now_ms, const platform::TextOrder& fold) {
  TypedText next = state;
  next.last_key_ms = now_ms;
  DropLastCharacter(next.text);
  if (next.text.empty()) return {{}, std::move(next)};
  const auto found = FirstBeginning(names, Prefix(next.text, fold));
  return Selecting(found, std::move(next));
}

}  // namespace

bool IsTyping(const TypedText& state, std::int64_t now_ms) {
  return !state.text.empty() && now_ms - state.last_key_ms <= kTypingPauseMs;
}

TypeStep TypeToSelect(const std::vector<std::string>& names, ListKind kind, const TypedText& state,
                      const Key& key, const platform::TextOrder& fold) {
  const bool typing = IsTyping(state, key.time_ms);
  if (key.kind == Key::Kind::kBackspace) {
    if (!typing) return {{}, state};
    return Backspace(names, state, key.time_ms, fold);
  }
  // A blank begins no text: the menu handles it as it always has.
  if (key.character == U' ' && !typing) return {{}, state};
  TypedText next;
  if (typing) next = state;
  next.last_key_ms = key.time_ms;
  text::wtf8_detail::AppendCodePoint(next.text, key.character);
  if (kind == ListKind::kLetterGroups) return OpeningGroup(names, std::move(next));
  const Prefix prefix(next.text, fold);
  if (prefix.IsOneLetterRepeated()) {
    const auto found = NextBeginning(names, prefix.Initial(), next.selected);
    return Selecting(found, std::move(next));
  }
  return Selecting(FirstBeginning(names, prefix), std::move(next));
}

}  // namespace app
