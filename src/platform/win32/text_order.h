#pragma once

#include "platform/text_order.h"

namespace win32 {

// The order of a sorted list box: the user's locale, ignoring case; and that locale's case fold.
class TextOrder : public platform::TextOrder {
 public:
  // LCMapStringW's upper case in the user's locale: one UTF-16 unit for one.
  std::string FoldCase(std::string_view text) const override;
  int Compare(const std::string& a, const std::string& b) const override;
  // Each text is made UTF-16 and given its sort key once, not at every comparison.
  std::vector<std::size_t> StableOrder(const std::vector<const std::string*>& texts) const override;
};

}  // namespace win32
