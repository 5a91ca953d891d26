#pragma once

#include <string>

namespace platform {

// The order of the platform's sorted list control: alphabetical, ignoring letter case.
class TextOrder {
 public:
  virtual ~TextOrder() = default;
  // Negative, zero or positive as a sorts before, with or after b.
  virtual int Compare(const std::string& a, const std::string& b) const = 0;
};

}  // namespace platform
