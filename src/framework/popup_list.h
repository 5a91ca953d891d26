#pragma once

// The one object that owns the hidden window every popup menu reports to. It dispatches a
// chosen item's command to that item. Its window procedure may be overridden.

#include <vector>

#include "framework/owned.h"
#include "platform/windowing.h"

namespace framework {

class TApplication;
class TPopupMenu;

class TPopupList : private platform::WindowHandler {
 public:
  explicit TPopupList(TApplication& app);
  virtual ~TPopupList();
  TPopupList(const TPopupList&) = delete;
  TPopupList& operator=(const TPopupList&) = delete;

  platform::WindowId Window() const { return window_.get(); }
  // A menu is listed for as long as the owner given back lives.
  void Remove(TPopupMenu* menu) noexcept;
  using Listing = platform::UniqueHandle<
      platform::BoundTraits<TPopupList, static_cast<TPopupMenu*>(nullptr), &TPopupList::Remove>>;
  [[nodiscard]] Listing Add(TPopupMenu& menu);

 protected:
  virtual platform::LResult WndProc(platform::MessageId id, platform::WParam wparam,
                                    platform::LParam lparam);
  TApplication& Application() const { return app_; }

 private:
  platform::LResult HandleMessage(platform::WindowId window, platform::MessageId id,
                                  platform::WParam wparam, platform::LParam lparam) override;

  TApplication& app_;
  UniqueWindow window_;
  std::vector<TPopupMenu*> menus_;
};

}  // namespace framework
