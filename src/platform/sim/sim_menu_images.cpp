// Pictures in the simulated menus: bitmaps are numbers that remember their icon, and the owner
// is asked to measure and draw its pictures when the test paints the menus.

#include "platform/sim/sim_windowing.h"

namespace sim {
namespace {

// What a paint request points at: the question, and the owner's answers.
struct ImageRequest {
  bool draw = false;
  std::uintptr_t data = 0;
  int size = 0;
  platform::IconId icon = platform::kNoIcon;
};

ImageRequest& RequestAt(platform::LParam lparam) {
  return *reinterpret_cast<ImageRequest*>(lparam);
}

}  // namespace

bool WindowSystem::ReadMenuImageRequest(platform::MessageId id, platform::LParam lparam,
                                        platform::MenuImageRequest& request) {
  if ((id != platform::kWmMeasureItem && id != platform::kWmDrawItem) || lparam == 0) return false;
  request.draw = RequestAt(lparam).draw;
  request.data = RequestAt(lparam).data;
  return true;
}

void WindowSystem::AnswerMenuImageSize(platform::LParam lparam, int size) {
  RequestAt(lparam).size = size;
}

void WindowSystem::DrawMenuImage(platform::LParam lparam, platform::IconId icon, int size) {
  RequestAt(lparam).icon = icon;
  RequestAt(lparam).size = size;
}

platform::BitmapId WindowSystem::NewMenuBitmap(platform::IconId icon, int size) {
  const platform::BitmapId bitmap = next_bitmap_++;
  bitmaps_[bitmap] = icon;
  bitmap_sizes_[bitmap] = size;
  return bitmap;
}

void WindowSystem::DeleteBitmap(platform::BitmapId bitmap) noexcept {
  bitmaps_.erase(bitmap);
  bitmap_sizes_.erase(bitmap);
}

int WindowSystem::BitmapSize(platform::BitmapId bitmap) const {
  const auto it = bitmap_sizes_.find(bitmap);
  return it == bitmap_sizes_.end() ? 0 : it->second;
}

platform::IconId WindowSystem::BitmapIcon(platform::BitmapId bitmap) const {
  const auto it = bitmaps_.find(bitmap);
  return it == bitmaps_.end() ? platform::kNoIcon : it->second;
}

bool WindowSystem::SetMenuItemBitmap(platform::MenuId menu, std::uint16_t command,
                                     platform::BitmapId bitmap) {
  const auto it = menus_.find(menu);
  if (it == menus_.end()) return false;
  for (platform::MenuItemSpec& item : it->second.items) {
    if (item.kind == platform::MenuItemSpec::Kind::kCommand && item.command == command) {
      item.image = platform::MenuItemSpec::Image::kBitmap;
      item.image_bitmap = bitmap;
      return true;
    }
    if (item.kind == platform::MenuItemSpec::Kind::kSubmenu &&
        SetMenuItemBitmap(item.submenu, command, bitmap)) {
      return true;
    }
  }
  return false;
}

std::vector<WindowSystem::DrawnImage> WindowSystem::PaintMenus(platform::WindowId owner) {
  std::vector<DrawnImage> drawn;
  for (const auto& [id, menu] : menus_) {
    for (const platform::MenuItemSpec& item : menu.items) {
      if (item.image != platform::MenuItemSpec::Image::kDrawn) continue;
      ImageRequest request{false, item.image_data, 0, platform::kNoIcon};
      const auto at = reinterpret_cast<platform::LParam>(&request);
      SendTo(owner, platform::kWmMeasureItem, 0, at);
      request.draw = true;
      SendTo(owner, platform::kWmDrawItem, 0, at);
      drawn.push_back(DrawnImage{item.image_data, request.size, request.icon});
    }
  }
  return drawn;
}

}  // namespace sim
