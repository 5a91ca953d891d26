#pragma once

#include <cstdint>
#include <set>

namespace framework {

// Menu command numbers travel in the low 16 bits of WM_COMMAND, so they are reused: every
// rebuild of a submenu frees the numbers of the items it destroys, and the smallest free number
// is handed out first.
class CommandPool {
 public:
  std::uint16_t Acquire();
  void Release(std::uint16_t id);

 private:
  std::set<std::uint16_t> freed_;  // below next_
  std::uint32_t next_ = 1;         // never handed out yet
};

}  // namespace framework
