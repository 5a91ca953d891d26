#pragma once

#include <utility>

namespace platform {

// Move-only owner of one handle. Traits supplies the empty value and how to release:
//   struct Traits { using Handle = ...; static Handle empty(); static void release(Handle); };
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : handle_(h) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::empty(); }

  Handle release() { return std::exchange(handle_, Traits::empty()); }
  void reset(Handle h = Traits::empty()) {
    Handle old = std::exchange(handle_, h);
    if (old != Traits::empty()) Traits::release(old);
  }

 private:
  Handle handle_ = Traits::empty();
};

}  // namespace platform
