#pragma once

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The positions 0 to count - 1, stably sorted by less (which compares two positions).
template <typename Less>
std::vector<std::size_t> StableOrderBy(std::size_t count, Less less) {
  std::vector<std::size_t> order(count);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), less);
  return order;
}

// The order of the platform's sorted list control: alphabetical, ignoring letter case.
class TextOrder {
 public:
  virtual ~TextOrder() = default;
  // The text with the letter case of each character folded as the user's locale folds it, one
  // character for one, never expanded: "ß" stays "ß". Texts that differ only in case fold alike.
  virtual std::string FoldCase(std::string_view text) const = 0;
  // Negative, zero or positive as a sorts before, with or after b.
  virtual int Compare(const std::string& a, const std::string& b) const = 0;
  // The positions of the texts, put in this order; equal texts keep their relative order. The
  // same as a stable sort by Compare; a platform may prepare each text once for it instead of
  // at every comparison.
  virtual std::vector<std::size_t> StableOrder(const std::vector<const std::string*>& texts) const {
    return StableOrderBy(texts.size(), [&](std::size_t a, std::size_t b) {
      return Compare(*texts[a], *texts[b]) < 0;
    });
  }
};

}  // namespace platform
