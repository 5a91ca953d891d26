#include "framework/command_pool.h"

#include <limits>
#include <stdexcept>

namespace framework {

std::uint16_t CommandPool::Acquire() {
  if (!freed_.empty()) {
    const std::uint16_t id = *freed_.begin();
    freed_.erase(freed_.begin());
    return id;
  }
  if (next_ > std::numeric_limits<std::uint16_t>::max()) {
    throw std::runtime_error("Too many menu items");
  }
  return static_cast<std::uint16_t>(next_++);
}

void CommandPool::Release(std::uint16_t id) {
  if (id == 0 || id >= next_) return;
  freed_.insert(id);
}

}  // namespace framework
