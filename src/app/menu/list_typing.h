#pragma once

// The program's answer to keys typed into its menu: the generated submenus ("All Programs", its
// letter groups, "Recent Programs", "Kill Process") select the item whose name begins with the
// text typed; every other menu is left as it is.

#include <functional>
#include <optional>

#include "app/menu/type_to_select.h"
#include "framework/menu.h"
#include "framework/menu_typing.h"
#include "platform/text_order.h"

namespace app {

class ListTyping final : public framework::TMenuTyping {
 public:
  // What the items of a submenu are; nothing for a menu that typing leaves alone.
  using KindOf = std::function<std::optional<ListKind>(const framework::TMenuItem& submenu)>;
  ListTyping(const platform::TextOrder& fold, KindOf kind_of);

  Answer Type(const framework::TMenuItem& submenu, const Key& key) override;
  bool IsTyping(const framework::TMenuItem& submenu, std::int64_t time_ms) const override;
  void EndText() override;

 private:
  const platform::TextOrder& fold_;
  KindOf kind_of_;
  TypedText typed_;
  // The submenu the text belongs to: a letter group opened by it takes the text over.
  const framework::TMenuItem* typed_in_ = nullptr;
};

}  // namespace app
