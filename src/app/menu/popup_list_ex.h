#pragma once

// The popup list that tells the active form when a menu loop starts, when the menu closes and
// when the loop ends.

#include "framework/popup_list.h"

namespace app {

class TPopupListEx : public framework::TPopupList {
 public:
  using TPopupList::TPopupList;

 protected:
  platform::LResult WndProc(platform::MessageId id, platform::WParam wparam,
                            platform::LParam lparam) override;

 private:
  void Forward(platform::MessageId id, platform::WParam wparam, platform::LParam lparam);
};

// Replaces the application's popup list, before any menu registers with it.
void InstallPopupListEx(framework::TApplication& app);

}  // namespace app
