#pragma once

// A string list in the order of the platform's sorted list control. The program supplies no
// comparison of its own: the platform's TextOrder decides. Each line may carry data of type T.

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "platform/text_order.h"

namespace framework {

struct NoData {};

template <typename T = NoData>
class TSortedList {
 public:
  struct Line {
    std::string text;
    T data;
  };

  explicit TSortedList(const platform::TextOrder& order) : order_(&order) {}

  // Appends while sorting is off; inserts after equal lines once it is on.
  void Add(std::string text, T data = {}) {
    Line line{std::move(text), std::move(data)};
    if (!sorted_) {
      lines_.push_back(std::move(line));
      return;
    }
    auto at = std::upper_bound(lines_.begin(), lines_.end(), line,
                               [this](const Line& a, const Line& b) { return Less(a, b); });
    lines_.insert(at, std::move(line));
  }

  // Switching sorting on re-sorts the lines; equal lines keep their relative order.
  void SetSorted(bool sorted) {
    if (sorted && !sorted_) {
      std::vector<const std::string*> texts;
      texts.reserve(lines_.size());
      for (const Line& line : lines_) texts.push_back(&line.text);
      std::vector<Line> in_order;
      in_order.reserve(lines_.size());
      for (std::size_t i : order_->StableOrder(texts)) in_order.push_back(std::move(lines_[i]));
      lines_ = std::move(in_order);
    }
    sorted_ = sorted;
  }

  void Clear() { lines_.clear(); }
  std::size_t Count() const { return lines_.size(); }
  const Line& operator[](std::size_t index) const { return lines_[index]; }
  auto begin() const { return lines_.begin(); }
  auto end() const { return lines_.end(); }

  template <typename Pred>
  void RemoveIf(Pred pred) {
    lines_.erase(std::remove_if(lines_.begin(), lines_.end(), pred), lines_.end());
  }

 private:
  bool Less(const Line& a, const Line& b) const { return order_->Compare(a.text, b.text) < 0; }

  const platform::TextOrder* order_;
  std::vector<Line> lines_;
  bool sorted_ = false;
};

}  // namespace framework
