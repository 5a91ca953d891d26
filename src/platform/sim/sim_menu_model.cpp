#include "platform/sim/sim_menu_model.h"

#include "platform/sim/sim_errors.h"
#include "platform/text.h"

namespace sim {
namespace {

const MenuNode* FindAtLevel(const std::vector<MenuNode>& items, std::string_view displayed) {
  for (const MenuNode& item : items) {
    if (item.kind != MenuNode::Kind::kSeparator && item.displayed == displayed) return &item;
  }
  return nullptr;
}

std::string JoinPath(const std::vector<std::string>& path, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count && i < path.size(); ++i) {
    if (i > 0) out += " > ";
    out += "\"" + path[i] + "\"";
  }
  return out;
}

}  // namespace

std::string DisplayedCaption(std::string_view caption) {
  return text::ShownCaption(caption);
}

const MenuNode* Find(const std::vector<MenuNode>& items,
                     std::initializer_list<std::string_view> displayed_path) {
  const std::vector<MenuNode>* level = &items;
  const MenuNode* found = nullptr;
  for (std::string_view displayed : displayed_path) {
    if (level == nullptr) return nullptr;
    found = FindAtLevel(*level, displayed);
    if (found == nullptr) return nullptr;
    level = &found->children;
  }
  return found;
}

std::string ListCaptions(const std::vector<MenuNode>& items) {
  std::string out = "[";
  for (const MenuNode& item : items) {
    if (out.size() > 1) out += ", ";
    out += item.kind == MenuNode::Kind::kSeparator ? "-" : "\"" + item.displayed + "\"";
  }
  return out + "]";
}

std::optional<std::uint16_t> ResolveChoice(const std::vector<MenuNode>& items,
                                           const std::vector<std::string>& caption_path) {
  if (caption_path.empty()) throw ScriptError("empty menu path; shown: " + ListCaptions(items));
  const std::vector<MenuNode>* level = &items;
  for (std::size_t i = 0; i < caption_path.size(); ++i) {
    const MenuNode* item = FindAtLevel(*level, caption_path[i]);
    const bool last = i + 1 == caption_path.size();
    if (item == nullptr) {
      throw ScriptError("no menu item " + JoinPath(caption_path, i + 1) +
                        "; shown: " + ListCaptions(*level));
    }
    if (item->kind == MenuNode::Kind::kCommand && last) return item->command;
    if (item->kind == MenuNode::Kind::kSubmenu && item->children.empty() && last) {
      return std::nullopt;
    }
    if (item->kind == MenuNode::Kind::kSubmenu && !item->children.empty() && !last) {
      level = &item->children;
      continue;
    }
    const std::string what = last ? " opens a submenu: " : " is not a submenu: ";
    throw ScriptError("menu item " + JoinPath(caption_path, i + 1) + what +
                      ListCaptions(item->children));
  }
  return std::nullopt;  // not reached: the last part always returns or throws
}

}  // namespace sim
