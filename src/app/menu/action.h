#pragma once

// A choice carried out as an action: its work (a start and its wait, or a removal) runs on a
// worker with the seams that are safe from any thread, and its verdict, judged there too, is
// what the menu then does on the GUI thread.

#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>

#include "app/leftovers/leftover_review.h"

namespace app {

// A message box: its text, its style (buttons, icon, default button), and its caption when it
// is not the program's title.
struct Box {
  std::string text;
  std::uint32_t style = 0;
  std::string caption = {};
};

struct Verdict;
// Asked to stop when the program ends first; it then gives up its waits, never what it started.
using ActionWork = std::function<Verdict(std::stop_token)>;

// What the menu does once an action has ended, or once a choice is made that needs no work:
// shows the box; then, unless the box was a question answered "No", the review and the removal
// of what it checks, or the next action; without either, ends the program, or leaves the end
// to the auto-close.
struct Verdict {
  std::optional<Box> box = {};
  ActionWork next = {};
  bool end = true;
  std::optional<LeftoverReview> review = {};
};

}  // namespace app
