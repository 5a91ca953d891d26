#pragma once

// Popup menus and their items. The platform menu is rebuilt from the item tree at every
// pop-up, so items added since the last one appear. A submenu may be filled only when it first
// opens: the pop-up then inserts the fixed items alone, however long the generated lists.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/command_pool.h"
#include "framework/menu_images.h"
#include "framework/menu_typing.h"
#include "framework/owned.h"
#include "framework/popup_list.h"
#include "platform/windowing.h"

namespace framework {

class TApplication;

class TMenuItem {
 public:
  // kMarkup: a caption of "-" draws a separator line, as in the fixed menus. kText: the caption
  // is always text, for items made from data, where "-" is a name like any other.
  enum class CaptionKind { kMarkup, kText };

  TMenuItem(std::string name, std::string caption, CaptionKind kind = CaptionKind::kMarkup);
  virtual ~TMenuItem() = default;
  TMenuItem(const TMenuItem&) = delete;
  TMenuItem& operator=(const TMenuItem&) = delete;

  const std::string Name;
  // Handed to the platform unchanged: an "&" marks the access key.
  std::string Caption;
  bool Default = false;
  // Left out of the menu on screen, with its children.
  bool Hidden = false;
  // A command item's picture, from the images of its popup menu (TPopupMenu::SetImages).
  ImageKey Image = kNoImage;
  std::function<void(TMenuItem&)> OnClick;

  bool IsSeparator() const { return kind_ == CaptionKind::kMarkup && Caption == "-"; }
  std::uint16_t Command() const { return command_.get(); }

  // Appends at the end; the item takes its command number from the pool of the tree.
  TMenuItem& Add(std::unique_ptr<TMenuItem> child);
  // Removes and destroys every child, last to first.
  void Clear();
  std::size_t Count() const { return children_.Count(); }
  TMenuItem& operator[](std::size_t index) const { return children_[index]; }

  // Makes the item a submenu whose children fill adds when the submenu first opens, or a plain
  // item when it will have none. Clears the children it had.
  using Filler = std::function<void(TMenuItem&)>;
  void FillOnOpen(bool has_children, Filler fill);
  // Adds the children of a submenu filled on opening, unless they are already in.
  void EnsureFilled();

  virtual void Click();
  // The item of this tree with that command number, or null.
  TMenuItem* FindCommand(std::uint16_t command);

 private:
  friend class TPopupMenu;
  // Submenus of the menu on screen: all of them, or those still to be filled when they open.
  using PendingSubmenus = std::map<platform::MenuId, TMenuItem*>;
  // The command items appended with each picture.
  using ShownImages = std::multimap<ImageKey, std::uint16_t>;
  // How a platform menu is filled from the tree; counts the insertions the platform refused.
  struct Appender {
    platform::Windowing& ws;
    PendingSubmenus& pending;
    PendingSubmenus& submenus;
    std::size_t& refused;
    TMenuImages* images;
    ShownImages& shown;
  };
  void Attach(TMenuItem* parent, CommandPool* pool);
  void AppendTo(Appender& to, platform::MenuId menu);
  void AppendLazySubmenu(Appender& to, platform::MenuId menu, platform::MenuItemSpec& desc);
  // Adds the children on their first opening and appends them to the opened platform menu. A
  // refused insertion ends the filling; the items appended so far stay.
  void FillOpened(Appender& to, platform::MenuId opened);

  const CaptionKind kind_;
  TMenuItem* parent_ = nullptr;
  CommandPool* pool_ = nullptr;
  CommandPool::Command command_;
  // After the command: the children give theirs back before this item does.
  TOwnedList<TMenuItem> children_;
  Filler filler_;
  bool lazy_ = false;          // filled by filler_ when first opened
  bool has_children_ = false;  // lazy: whether it will have any
  bool filled_ = false;        // lazy: filler_ has run since the children were cleared
};

inline constexpr std::uint32_t kPopupFlags = platform::kTpmLeftAlign | platform::kTpmRightButton;

// Lists itself with the application's popup list, which hands it the commands chosen and the
// menu's messages about keys.
class TPopupMenu : private platform::MenuKeyFilter {
 public:
  explicit TPopupMenu(TApplication& app);
  TPopupMenu(const TPopupMenu&) = delete;
  TPopupMenu& operator=(const TPopupMenu&) = delete;

  TMenuItem& Items() { return root_; }
  // Builds the platform menu from the tree and tracks it at the point; returns when the menu
  // has closed. A chosen item's command arrives later through the popup list.
  void Popup(platform::Point at);
  // Runs the click action of the item with that command number; false when it is not ours.
  bool DispatchCommand(std::uint16_t command);
  // A submenu of the menu on screen is about to open: fills it the first time. False when it
  // is not one of ours still to be filled.
  bool OpenSubmenu(platform::MenuId submenu);
  // Where keys typed into the submenus go; none by default. Not owned.
  void SetTyping(TMenuTyping* typing) { typing_ = typing; }
  // A key that matched no access key (kWmMenuChar): answers it when the submenu it was typed
  // into selects by typing, into result. False leaves it to the default.
  bool AnswerMenuChar(platform::WParam wparam, platform::LParam lparam, platform::LResult& result);
  // The menu's selection moved (kWmMenuSelect): keys go to the menu of that item.
  void NoteSelection(platform::LParam lparam);
  // Insertions the platform refused since the menu was made.
  std::size_t RefusedInsertions() const { return refused_; }

  // Where the pictures of the items come from; none by default. Not owned.
  void SetImages(TMenuImages* images) { images_ = images; }
  // The icons of these keys have come: the items on screen show them.
  void ImagesArrived(const std::vector<ImageKey>& keys);
  // Answers a menu's question about a picture drawn by its owner; false when it is not one.
  bool AnswerImageRequest(platform::MessageId id, platform::LParam lparam);

 private:
  bool FilterMenuKey(platform::MessageId id, platform::WParam key) override;
  bool FilterTextKey(platform::WParam key);

  TApplication& app_;
  TMenuItem root_;
  UniqueMenu menu_;
  TMenuItem::PendingSubmenus pending_;
  std::size_t refused_ = 0;
  TMenuImages* images_ = nullptr;
  TMenuItem::ShownImages shown_;
  TMenuItem::PendingSubmenus submenus_;             // every submenu of the menu on screen
  platform::MenuId keys_menu_ = platform::kNoMenu;  // the menu that keys go to
  TMenuTyping* typing_ = nullptr;
  TPopupList::Listing listing_;  // the last member: unlisted before the menu goes
};

}  // namespace framework
