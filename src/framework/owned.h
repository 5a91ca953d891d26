#pragma once

// Owners of the window system's windows and menus, and of lists of objects the framework keeps:
// the one owner type, platform::UniqueHandle, with traits that know what a handle belongs to.

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "platform/unique_handle.h"
#include "platform/windowing.h"

namespace framework {

class TApplication;

// Destroying a window runs its handlers. A failure they raise meanwhile goes to the
// application's error box, since an owner closes in destructors, where nothing may be raised.
void DestroyQuietly(TApplication& app, platform::WindowId window) noexcept;  // application.cpp
using UniqueWindow = platform::UniqueHandle<
    platform::BoundTraits<TApplication, platform::kNoWindow, DestroyQuietly>>;

// Destroying a menu runs no handler, so it has nothing to raise.
using UniqueMenu =
    platform::UniqueHandle<platform::BoundTraits<platform::Windowing, platform::kNoMenu,
                                                 &platform::Windowing::DestroyMenu>>;

// Objects owned in the order they were added, and destroyed newest first, by Clear and by the
// list's own end alike: a later one may use an earlier one, never the other way round.
template <typename T>
class TOwnedList {
 public:
  TOwnedList() = default;
  ~TOwnedList() { Clear(); }
  TOwnedList(const TOwnedList&) = delete;
  TOwnedList& operator=(const TOwnedList&) = delete;

  T& Add(std::unique_ptr<T> item) {
    items_.push_back(std::move(item));
    return *items_.back();
  }
  void Clear() {
    while (!items_.empty()) items_.pop_back();
  }
  std::size_t Count() const { return items_.size(); }
  T& operator[](std::size_t index) const { return *items_[index]; }
  // Iterates the owners, oldest first.
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<std::unique_ptr<T>> items_;
};

}  // namespace framework
