#pragma once

// The pictures of menu items, and the one owner of every icon and bitmap they use. Items name
// their picture by a key; the icon for a key comes later, from whoever finds it, and stays for
// the run under the file it was read from, so that items of one file share one icon. A menu
// does not delete the bitmaps of its items: they are deleted here, after the menus.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/icons.h"
#include "platform/unique_handle.h"
#include "platform/windowing.h"

namespace framework {

using ImageKey = std::uint32_t;
inline constexpr ImageKey kNoImage = 0;

// A bitmap made by the window system for a menu picture.
using OwnedBitmap =
    platform::UniqueHandle<platform::BoundTraits<platform::Windowing, platform::kNoBitmap,
                                                 &platform::Windowing::DeleteBitmap>>;

// Menu pictures are 16 pixels at 96 dpi, and grow with the DPI: 24 at 144, 32 at 192.
inline constexpr int kMenuImageSize = 16;
int MenuImageSizeAt(int dpi);

class TMenuImages {
 public:
  explicit TMenuImages(platform::Windowing& ws);
  TMenuImages(const TMenuImages&) = delete;
  TMenuImages& operator=(const TMenuImages&) = delete;

  // Takes the size for menus at that DPI, and how this system shows pictures. Called before
  // each pop-up; keys made before keep their own size.
  void Prepare(int dpi);
  int Size() const { return size_; }
  platform::MenuImageMode Mode() const { return mode_; }

  // The key of a request: equal requests share one. is_new tells the first asking.
  ImageKey Intern(const std::string& request, bool& is_new);
  // The icon of a key has come, read from the file named by file_key (path, index and size).
  // A file already held keeps its first icon, and this one is destroyed. Without an icon, the
  // key shows its file's, which may still be on its way. Returns the keys whose icons are here
  // now: this one, and those that waited for its file.
  std::vector<ImageKey> Resolve(ImageKey key, const std::string& file_key,
                                platform::UniqueIcon icon);
  // The icon of the key; kNoIcon while it is still to come or for an unknown key.
  platform::IconId IconOf(ImageKey key) const;
  // The size the key's picture is drawn at; 0 for an unknown key.
  int SizeOf(ImageKey key) const;
  // How an item with that picture is appended: as a bitmap of its icon, or of a blank
  // placeholder of the same size while the icon is still to come; or drawn on request.
  void Describe(ImageKey key, platform::MenuItemSpec& desc);
  // The bitmap shown for the key now, made at first use.
  platform::BitmapId BitmapOf(ImageKey key);
  // Icons held, one per file; keys handed out.
  std::size_t IconCount() const { return by_file_.size(); }
  std::size_t KeyCount() const { return slots_.size(); }

 private:
  struct Held {
    platform::UniqueIcon icon;
    OwnedBitmap bitmap;
    int size = 0;
  };
  struct Slot {
    int size = 0;
    Held* held = nullptr;  // null while the icon is still to come
  };
  const Slot* Find(ImageKey key) const;
  platform::BitmapId Placeholder(int size);

  platform::Windowing& ws_;
  int size_ = kMenuImageSize;
  platform::MenuImageMode mode_ = platform::MenuImageMode::kOwnerDrawn;
  std::map<std::string, Held> by_file_;
  std::map<std::string, ImageKey> keys_;
  std::vector<Slot> slots_;                               // key k at k - 1
  std::map<int, OwnedBitmap> placeholders_;               // by size
  std::map<std::string, std::vector<ImageKey>> waiting_;  // for a file's icon, by file
};

}  // namespace framework
