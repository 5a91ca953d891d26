#pragma once

#include <cstdint>
#include <set>

namespace framework {

// Menu command numbers travel in the low 16 bits of WM_COMMAND, so they are reused: every
// rebuild of a submenu frees the numbers of the items it destroys.
class CommandPool {
 public:
  std::uint16_t Acquire();
  void Release(std::uint16_t id) { used_.erase(id); }
  std::size_t InUse() const { return used_.size(); }

 private:
  std::set<std::uint16_t> used_;
};

}  // namespace framework
