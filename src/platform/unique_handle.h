#pragma once

#include <functional>
#include <utility>

namespace platform {

// Move-only owner of one handle: the one owner type for everything the program opens, creates,
// registers or starts and must give back. Traits name the kind:
//   struct Traits {
//     using Handle = ...;
//     static Handle Invalid();                 // the value that owns nothing, per kind
//     void Close(Handle) const noexcept;       // may be static; may use state of the traits
//   };
// Each kind is one alias: UniqueHandle<SomeTraits>. Traits that carry state (the registry or
// window system the handle belongs to) are given with the handle; stateless ones are
// default-constructed. Closing never throws: a kind whose close can fail records or drops that
// failure itself, since the owner closes in destructors, where nothing may be raised.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle h) noexcept : handle_(h) {}
  // Owns nothing yet, but knows where its handles belong: for put().
  explicit UniqueHandle(Traits traits) noexcept : traits_(std::move(traits)) {}
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

  // For a call that hands a new handle out through a pointer: closes the handle held, if any,
  // and gives the place the call writes into, so that the owner holds the new handle from the
  // moment the call makes it. A call that fails must leave the place alone or write Invalid().
  Handle* put() noexcept {
    reset();
    return &handle_;
  }
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

// The traits of a kind whose handles belong to an object that gives them back: a registry's
// keys, a window system's menus, a list's entries. kNone is the kind's "none" and gives the
// handle's type; kClose(owner, handle) gives one back, as a member function of Owner or a free
// function taking Owner&. An owner is made from the object and the handle:
//   using UniqueRegKey = UniqueHandle<BoundTraits<RawRegistry, kNoKey, &RawRegistry::CloseKey>>;
//   UniqueRegKey key(registry, opened);
template <typename Owner, auto kNone, auto kClose>
struct BoundTraits {
  using Handle = decltype(kNone);
  static Handle Invalid() { return kNone; }

  BoundTraits() = default;
  // Implicit, so that the object itself stands for the traits beside a handle.
  BoundTraits(Owner& object) : owner(&object) {}  // NOLINT(google-explicit-constructor)
  void Close(Handle handle) const noexcept { std::invoke(kClose, *owner, handle); }

  Owner* owner = nullptr;
};

}  // namespace platform
