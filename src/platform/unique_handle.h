#pragma once

#include <utility>

namespace platform {

// Move-only owner of one handle: the one owner type for every kind of handle the program
// opens. Traits names the kind:
//   struct Traits {
//     using Handle = ...;
//     static Handle Invalid();                 // the value that owns nothing, per kind
//     void Close(Handle) const noexcept;       // may be static; may use state of the traits
//   };
// Traits that carry state (the registry or window system the handle belongs to) are given
// with the handle; stateless ones are default-constructed. Closing never throws: a kind
// whose close can fail records or drops that failure itself, since the owner closes in
// destructors, where nothing may be raised.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle h) noexcept : handle_(h) {}
  UniqueHandle(Traits traits, Handle h) noexcept : traits_(std::move(traits)), handle_(h) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : traits_(other.traits_), handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      traits_ = other.traits_;
      handle_ = other.release();
    }
    return *this;
  }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }
  const Traits& traits() const noexcept { return traits_; }

  // Gives the handle up without closing it.
  Handle release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
  // Closes the handle held, if any, and holds h instead.
  void reset(Handle h = Traits::Invalid()) noexcept {
    static_assert(noexcept(traits_.Close(h)), "closing a handle must not throw");
    const Handle old = std::exchange(handle_, h);
    if (old != Traits::Invalid()) traits_.Close(old);
  }

 private:
  [[no_unique_address]] Traits traits_{};
  Handle handle_ = Traits::Invalid();
};

}  // namespace platform
