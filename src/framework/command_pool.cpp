#include "framework/command_pool.h"

#include <limits>
#include <stdexcept>

namespace framework {

CommandPool::Command CommandPool::Acquire() {
  if (!freed_.empty()) {
    const std::uint16_t id = *freed_.begin();
    freed_.erase(freed_.begin());
    return Command(*this, id);
  }
  if (next_ > std::numeric_limits<std::uint16_t>::max()) {
    throw std::runtime_error("Too many menu items");
  }
  return Command(*this, static_cast<std::uint16_t>(next_++));
}

void CommandPool::Release(std::uint16_t id) noexcept {
  if (id == kNoCommand || id >= next_) return;
  freed_.insert(id);
}

}  // namespace framework
