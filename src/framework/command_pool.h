#pragma once

#include <cstdint>
#include <set>

#include "platform/unique_handle.h"

namespace framework {

// Menu command numbers travel in the low 16 bits of WM_COMMAND, so they are reused: every
// rebuild of a submenu gives back the numbers of the items it destroys, and the smallest free
// number is handed out first.
class CommandPool {
 public:
  static constexpr std::uint16_t kNoCommand = 0;

  void Release(std::uint16_t id) noexcept;
  // A number handed out, given back when its owner goes.
  using Command =
      platform::UniqueHandle<platform::BoundTraits<CommandPool, kNoCommand, &CommandPool::Release>>;
  // Throws when every number is in use.
  Command Acquire();

 private:
  std::set<std::uint16_t> freed_;  // below next_
  std::uint32_t next_ = 1;         // never handed out yet
};

}  // namespace framework
