#pragma once

// Snapshots of popup menus as the scripted user sees them, and choosing in them by caption.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct MenuNode {
  enum class Kind { kCommand, kSubmenu, kSeparator };
  std::string caption;    // as handed to the platform
  std::string displayed;  // as drawn: "&&" shows as "&", a single "&" (the access-key mark) not
  Kind kind = Kind::kCommand;
  std::uint16_t command = 0;
  bool is_default = false;
  // The item's picture as handed over: a bitmap of the caller's, or drawn by the owner.
  enum class Image { kNone, kBitmap, kDrawn };
  Image image = Image::kNone;
  std::uintptr_t image_bitmap = 0;
  std::uintptr_t image_data = 0;
  std::vector<MenuNode> children;
};

// How the platform draws a caption.
std::string DisplayedCaption(std::string_view caption);

// The node reached by following displayed captions from the top level; null when there is
// none. The first item with a matching caption is taken at each level; separators never match.
const MenuNode* Find(const std::vector<MenuNode>& items,
                     std::initializer_list<std::string_view> displayed_path);

// The displayed captions of one level, separators shown as "-", for messages.
std::string ListCaptions(const std::vector<MenuNode>& items);

// What choosing the item at caption_path does: the command it posts, or nothing for a
// submenu item without children (it only closes the menu). Throws ScriptError when the path
// leads to no item that can be chosen.
std::optional<std::uint16_t> ResolveChoice(const std::vector<MenuNode>& items,
                                           const std::vector<std::string>& caption_path);

}  // namespace sim
