#pragma once

#include "platform/text_order.h"

namespace win32 {

// The order of a sorted list box: the user's locale, ignoring case.
class TextOrder : public platform::TextOrder {
 public:
  int Compare(const std::string& a, const std::string& b) const override;
};

}  // namespace win32
