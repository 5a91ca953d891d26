#include "app/paths/remembered_files.h"

namespace app {

std::uint32_t RememberedFiles::FindFile(const std::string& path) {
  {
    const std::lock_guard lock(lock_);
    if (const auto known = answers_.find(path); known != answers_.end()) return known->second;
  }
  // Asked outside the lock, so that threads overlap their round trips; two that ask at once
  // both ask, and get the same answer.
  const std::uint32_t answer = files_.FindFile(path);
  const std::lock_guard lock(lock_);
  answers_.emplace(path, answer);
  return answer;
}

}  // namespace app
