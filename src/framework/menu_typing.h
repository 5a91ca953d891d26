#pragma once

// Typing in the submenus of a popup menu: what the menu asks the program about each key, and
// what it does with the answer.

#include <cstddef>
#include <cstdint>

namespace framework {

class TMenuItem;

class TMenuTyping {
 public:
  struct Key {
    enum class Kind { kCharacter, kBackspace };
    Kind kind = Kind::kCharacter;
    char32_t character = 0;  // kCharacter: as typed, a blank included
    std::int64_t time_ms = 0;
  };
  struct Answer {
    enum class Action {
      kNone,    // the menu handles the key as it would anyway
      kSelect,  // the item at position is selected; nothing is chosen
      kOpen,    // the item at position, a submenu, opens
    };
    Action action = Action::kNone;
    std::size_t position = 0;
  };

  // A key typed into the open submenu of item: its children are the menu's items, in order.
  virtual Answer Type(const TMenuItem& submenu, const Key& key) = 0;
  // Whether a text is being typed into the submenu at time_ms: a blank and Backspace belong to
  // the text then, and never reach the menu.
  virtual bool IsTyping(const TMenuItem& submenu, std::int64_t time_ms) const = 0;
  // An arrow key, Enter or Escape, or a new pop-up: the text ends.
  virtual void EndText() = 0;

 protected:
  ~TMenuTyping() = default;
};

}  // namespace framework
