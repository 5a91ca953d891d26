#include "framework/menu_images.h"

namespace framework {

int MenuImageSizeAt(int dpi) {
  if (dpi <= 0) dpi = platform::kDefaultDpi;
  return (kMenuImageSize * dpi + platform::kDefaultDpi / 2) / platform::kDefaultDpi;
}

TMenuImages::TMenuImages(platform::Windowing& ws) : ws_(ws) {}

void TMenuImages::Prepare(int dpi) {
  size_ = MenuImageSizeAt(dpi);
  mode_ = ws_.MenuImages();
}

ImageKey TMenuImages::Intern(const std::string& request, bool& is_new) {
  const auto [it, inserted] = keys_.emplace(request, static_cast<ImageKey>(slots_.size() + 1));
  is_new = inserted;
  if (inserted) slots_.push_back(Slot{size_, nullptr});
  return it->second;
}

const TMenuImages::Slot* TMenuImages::Find(ImageKey key) const {
  if (key == kNoImage || key > slots_.size()) return nullptr;
  return &slots_[key - 1];
}

std::vector<ImageKey> TMenuImages::Resolve(ImageKey key, const std::string& file_key,
                                           platform::UniqueIcon icon) {
  if (Find(key) == nullptr || slots_[key - 1].held != nullptr) return {};
  auto held = by_file_.find(file_key);
  if (held == by_file_.end()) {
    if (!icon) {
      waiting_[file_key].push_back(key);
      return {};
    }
    held = by_file_.try_emplace(file_key).first;
    held->second.icon = std::move(icon);
    held->second.size = slots_[key - 1].size;
  }
  std::vector<ImageKey> resolved = {key};
  if (const auto waiting = waiting_.find(file_key); waiting != waiting_.end()) {
    resolved.insert(resolved.end(), waiting->second.begin(), waiting->second.end());
    waiting_.erase(waiting);
  }
  for (ImageKey now : resolved) slots_[now - 1].held = &held->second;
  return resolved;
}

platform::IconId TMenuImages::IconOf(ImageKey key) const {
  const Slot* slot = Find(key);
  if (slot == nullptr || slot->held == nullptr) return platform::kNoIcon;
  return slot->held->icon.get();
}

int TMenuImages::SizeOf(ImageKey key) const {
  const Slot* slot = Find(key);
  return slot == nullptr ? 0 : slot->size;
}

platform::BitmapId TMenuImages::Placeholder(int size) {
  OwnedBitmap& placeholder = placeholders_[size];
  if (!placeholder) placeholder = OwnedBitmap(ws_, ws_.NewMenuBitmap(platform::kNoIcon, size));
  return placeholder.get();
}

platform::BitmapId TMenuImages::BitmapOf(ImageKey key) {
  const Slot* slot = Find(key);
  if (slot == nullptr) return platform::kNoBitmap;
  if (slot->held == nullptr) return Placeholder(slot->size);
  Held& held = *slot->held;
  if (!held.bitmap) held.bitmap = OwnedBitmap(ws_, ws_.NewMenuBitmap(held.icon.get(), held.size));
  return held.bitmap.get();
}

void TMenuImages::Describe(ImageKey key, platform::MenuItemSpec& desc) {
  if (Find(key) == nullptr) return;
  if (mode_ == platform::MenuImageMode::kOwnerDrawn) {
    desc.image = platform::MenuItemSpec::Image::kDrawn;
    desc.image_data = key;
    return;
  }
  const platform::BitmapId bitmap = BitmapOf(key);
  if (bitmap == platform::kNoBitmap) return;
  desc.image = platform::MenuItemSpec::Image::kBitmap;
  desc.image_bitmap = bitmap;
}

}  // namespace framework
