#include "framework/command_pool.h"

#include <limits>
#include <stdexcept>

namespace framework {

std::uint16_t CommandPool::Acquire() {
  std::uint16_t candidate = 1;
  for (std::uint16_t id : used_) {
    if (id != candidate) break;
    if (candidate == std::numeric_limits<std::uint16_t>::max()) {
      throw std::runtime_error("Too many menu items");
    }
    ++candidate;
  }
  used_.insert(candidate);
  return candidate;
}

}  // namespace framework
