#include "app/leftovers/shortcut_finder.h"

#include "app/leftovers/leftover_paths.h"
#include "app/leftovers/protected_system.h"
#include "app/leftovers/shortcut_reader.h"
#include "platform/text.h"

namespace app {
namespace {

constexpr std::string_view kShortcutExtension = ".LNK";
// More than any Start menu holds, and deeper than any nests: past them it is read no further.
constexpr std::size_t kMostItemsRead = 20000;
constexpr int kDeepestFolder = 8;

class ShortcutFinder {
 public:
  ShortcutFinder(platform::Platform& platform, const std::vector<std::string>& folders)
      : platform_(platform), folders_(folders) {}

  std::vector<LeftoverItem> Find() {
    if (folders_.empty()) return {};
    const auto places = platform_.file_store.ShortcutFolders();
    for (const std::string& menu : places.start_menus) Walk(menu, 0);
    // A desktop's folders are the user's own, and may hold anything: only its top is looked at.
    for (const std::string& desktop : places.desktops) Walk(desktop, kDeepestFolder);
    return std::move(items_);
  }

 private:
  // Links inside are named as links and never followed.
  void Walk(const std::string& folder, int depth) {
    std::vector<platform::FolderItem> items;
    if (depth > kDeepestFolder || read_ >= kMostItemsRead) return;
    platform_.file_store.ListFolder(folder, kMostItemsRead - read_, items);
    read_ += items.size();
    for (const platform::FolderItem& item : items) {
      const std::string path = platform::InDirectory(folder, item.name);
      if (item.kind == platform::PathKind::kFolder) Walk(path, depth + 1);
      if (item.kind == platform::PathKind::kFile && IsShortcut(item)) Look(path);
    }
  }

  static bool IsShortcut(const platform::FolderItem& item) {
    return item.size <= kMaxShortcutFileBytes &&
           text::UpperAscii(item.name).ends_with(kShortcutExtension);
  }

  void Look(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (platform_.file_store.ReadWholeFile(path, kMaxShortcutFileBytes, bytes) !=
        platform::kFileOk) {
      return;
    }
    const auto target = ReadShortcutTarget(bytes);
    if (!target) return;
    const auto file = ComparablePath(platform_, target->path);
    if (!file || !InProgramFolder(*file)) return;
    if (!platform::IsSurelyMissing(platform_.files.FindFile(*file))) return;
    items_.push_back(LeftoverItem{.kind = LeftoverKind::kShortcut,
                                  .place = path,
                                  .reason = "starts a program file that is gone",
                                  .certain = true});
  }

  bool InProgramFolder(const std::string& file) const {
    for (const std::string& folder : folders_) {
      if (IsInside(file, folder)) return true;
    }
    return false;
  }

  platform::Platform& platform_;
  const std::vector<std::string>& folders_;
  std::vector<LeftoverItem> items_;
  std::size_t read_ = 0;  // items listed so far, in every folder
};

}  // namespace

std::vector<LeftoverItem> FindShortcuts(platform::Platform& platform,
                                        const std::vector<std::string>& folders) {
  return ShortcutFinder(platform, folders).Find();
}

}  // namespace app
