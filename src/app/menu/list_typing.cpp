#include "app/menu/list_typing.h"

#include <string>
#include <utility>
#include <vector>

#include "platform/text.h"

namespace app {
namespace {

// The items as the menu shows them; a separator shows no name.
std::vector<std::string> ShownNames(const framework::TMenuItem& submenu) {
  std::vector<std::string> names;
  names.reserve(submenu.Count());
  for (std::size_t i = 0; i < submenu.Count(); ++i) {
    const framework::TMenuItem& item = submenu[i];
    names.push_back(item.IsSeparator() ? std::string() : text::ShownCaption(item.Caption));
  }
  return names;
}

}  // namespace

ListTyping::ListTyping(const platform::TextOrder& fold, KindOf kind_of)
    : fold_(fold), kind_of_(std::move(kind_of)) {}

ListTyping::Answer ListTyping::Type(const framework::TMenuItem& submenu, const Key& key) {
  const std::optional<ListKind> kind = kind_of_(submenu);
  if (!kind) return {};
  // A text typed elsewhere does not go on here.
  if (typed_in_ != &submenu) typed_ = {};
  TypeStep step = TypeToSelect(ShownNames(submenu), *kind, typed_, key, fold_);
  typed_ = std::move(step.state);
  typed_in_ = &submenu;
  if (step.answer.action == Answer::Action::kOpen) typed_in_ = &submenu[step.answer.position];
  return step.answer;
}

bool ListTyping::IsTyping(const framework::TMenuItem& submenu, std::int64_t time_ms) const {
  return typed_in_ == &submenu && app::IsTyping(typed_, time_ms);
}

void ListTyping::EndText() {
  typed_ = {};
  typed_in_ = nullptr;
}

}  // namespace app
