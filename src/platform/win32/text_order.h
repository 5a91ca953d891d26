#pragma once

#include "platform/text_order.h"

namespace win32 {

// The order of a sorted list box: the user's locale, ignoring case.
class TextOrder : public platform::TextOrder {
 public:
  int Compare(const std::string& a, const std::string& b) const override;
  // Each text is made UTF-16 once, not at every comparison.
  std::vector<std::size_t> StableOrder(const std::vector<const std::string*>& texts) const override;
};

}  // namespace win32
