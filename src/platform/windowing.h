#pragma once

// The windowing seam: the window-system primitives the form framework is written over.
// Windows, menus and timers are named by opaque ids; text is UTF-8. Numbers are Win32's.
// Method names steer clear of the names <windows.h> defines as macros.
//
// Windows, menus and the queue belong to the GUI thread: only it calls this seam, save PostTo,
// which is safe from any thread. That is the one way a worker hands something back.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

using WindowId = std::uintptr_t;
using MenuId = std::uintptr_t;
using MessageId = std::uint32_t;
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// The two 16-bit halves of a message parameter.
constexpr std::uint16_t LoWord(WParam value) {
  return static_cast<std::uint16_t>(value & 0xFFFF);
}
constexpr std::uint16_t HiWord(WParam value) {
  return static_cast<std::uint16_t>((value >> 16) & 0xFFFF);
}
constexpr WParam MakeWParam(std::uint16_t low, std::uint16_t high) {
  return static_cast<WParam>(low) | (static_cast<WParam>(high) << 16);
}
using TimerId = std::uintptr_t;
// Icons and bitmaps: HICON and HBITMAP on Win32.
using IconId = std::uintptr_t;
using BitmapId = std::uintptr_t;
inline constexpr IconId kNoIcon = 0;
inline constexpr BitmapId kNoBitmap = 0;

inline constexpr WindowId kNoWindow = 0;
inline constexpr MenuId kNoMenu = 0;

inline constexpr MessageId kWmNull = 0x0000;
inline constexpr MessageId kWmDestroy = 0x0002;
inline constexpr MessageId kWmActivate = 0x0006;
inline constexpr MessageId kWmSetFocus = 0x0007;
inline constexpr MessageId kWmClose = 0x0010;
inline constexpr MessageId kWmQuit = 0x0012;
inline constexpr MessageId kWmKillFocus = 0x0008;
// Owner-drawn parts: lparam points at the system's description of the item.
inline constexpr MessageId kWmDrawItem = 0x002B;
inline constexpr MessageId kWmMeasureItem = 0x002C;
inline constexpr MessageId kWmKeyDown = 0x0100;
inline constexpr MessageId kWmKeyUp = 0x0101;
inline constexpr MessageId kWmChar = 0x0102;
inline constexpr MessageId kWmSysKeyDown = 0x0104;
inline constexpr MessageId kWmCommand = 0x0111;
inline constexpr MessageId kWmSysCommand = 0x0112;
inline constexpr MessageId kWmTimer = 0x0113;
inline constexpr MessageId kWmInitMenuPopup = 0x0117;
inline constexpr MessageId kWmMenuSelect = 0x011F;
// A key typed into an open popup menu matched no access key: the UTF-16 character in the low
// word of wparam, the menu in lparam. The owner answers with AnswerMenuChar, or DefaultProc.
inline constexpr MessageId kWmMenuChar = 0x0120;
inline constexpr MessageId kWmEnterMenuLoop = 0x0211;
inline constexpr MessageId kWmExitMenuLoop = 0x0212;
// A per-monitor aware window reached a monitor of another DPI: the new DPI in both words of
// wparam, lparam a const Rect* to the frame the system suggests for it.
inline constexpr MessageId kWmDpiChanged = 0x02E0;
inline constexpr MessageId kWmUser = 0x0400;
inline constexpr MessageId kBmGetCheck = 0x00F0;
inline constexpr MessageId kBmSetCheck = 0x00F1;

inline constexpr WParam kWaInactive = 0;
inline constexpr WParam kWaActive = 1;
inline constexpr WParam kWaClickActive = 2;

inline constexpr WParam kBstUnchecked = 0;
inline constexpr WParam kBstChecked = 1;
// WM_COMMAND notification code of a clicked button, in the high word of wparam.
inline constexpr WParam kBnClicked = 0;

// WM_SYSCOMMAND commands.
inline constexpr WParam kScClose = 0xF060;
inline constexpr WParam kScRestore = 0xF120;
inline constexpr WParam kSysCommandMask = 0xFFF0;

// Virtual keys.
inline constexpr WParam kVkBack = 0x08;
inline constexpr WParam kVkTab = 0x09;
inline constexpr WParam kVkReturn = 0x0D;
inline constexpr WParam kVkEscape = 0x1B;
inline constexpr WParam kVkSpace = 0x20;
inline constexpr WParam kVkLeft = 0x25;
inline constexpr WParam kVkUp = 0x26;
inline constexpr WParam kVkRight = 0x27;
inline constexpr WParam kVkDown = 0x28;
inline constexpr WParam kVkF4 = 0x73;

// Extended window styles.
inline constexpr std::uint32_t kWsExDlgModalFrame = 0x00000001;
inline constexpr std::uint32_t kWsExTopmost = 0x00000008;

// Show states (ShowWindow, ShellExecute, the start-up show state).
inline constexpr int kSwHideWindow = 0;
inline constexpr int kSwShowNormalWindow = 1;
inline constexpr int kSwShowMaximized = 3;
inline constexpr int kSwShow = 5;
inline constexpr int kSwShowMinNoActive = 7;

// TrackPopupMenu flags.
inline constexpr std::uint32_t kTpmLeftAlign = 0x0000;
inline constexpr std::uint32_t kTpmRightButton = 0x0002;

// MessageBox styles and results.
inline constexpr std::uint32_t kMbOk = 0x00;
inline constexpr std::uint32_t kMbYesNo = 0x04;
inline constexpr std::uint32_t kMbIconError = 0x10;
inline constexpr std::uint32_t kMbIconInformation = 0x40;
inline constexpr std::uint32_t kMbIconWarning = 0x30;
inline constexpr std::uint32_t kMbDefButton2 = 0x100;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Edges, laid out as Win32's RECT: right and bottom lie just outside.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The DPI at which a window is drawn at 100 %.
inline constexpr int kDefaultDpi = 96;

struct Message {
  WindowId window = kNoWindow;
  MessageId id = kWmNull;
  WParam wparam = 0;
  LParam lparam = 0;
};

// Receives every message sent or dispatched to one window.
class WindowHandler {
 public:
  virtual LResult HandleMessage(WindowId window, MessageId id, WParam wparam, LParam lparam) = 0;

 protected:
  ~WindowHandler() = default;
};

enum class WindowKind {
  kMessageOnly,  // never shown: the timer's and the popup list's windows
  kApplication,  // the application's own top-level window: task-bar entry and title
  kForm,         // a top-level form window
  kCheckBox,     // child controls of a form
  kButton,
  kBevel,
  // A report list: columns and rows, one row selected at a time, and a checkbox on each row
  // that may be checked. Up and Down move through the rows, Space checks the selected one.
  kCheckList,
  kLabel,  // a line of text, never focused
};

// A check list row's checkbox: none on a row the user may not check.
enum class RowCheck : std::uint8_t { kNone, kUnchecked, kChecked };

struct WindowSpec {
  WindowKind kind = WindowKind::kMessageOnly;
  WindowId parent = kNoWindow;  // owner of a top-level window, parent of a control
  std::string caption;
  // Forms: left and top of the window, width and height of the client area.
  // Controls: position and size within the parent's client area.
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::uint32_t style = 0;     // extra Win32 style bits
  std::uint32_t ex_style = 0;  // extra Win32 extended style bits
  bool centered = false;       // forms: placed at the centre of the screen, left and top unused
  int control_id = 0;
  // Forms and controls: the dialog face at this character height in pixels; 0 for none.
  int font_height = 0;
};

struct MenuItemSpec {
  enum class Kind { kCommand, kSubmenu, kSeparator };
  Kind kind = Kind::kCommand;
  std::uint16_t command = 0;  // kCommand: the WM_COMMAND id
  std::string caption;        // handed over unchanged: "&" marks the access key
  MenuId submenu = kNoMenu;   // kSubmenu: owned by the menu it is appended to from then on
  bool is_default = false;
  // kCommand: a picture left of the caption. kBitmap: the system draws image_bitmap, which
  // stays the caller's. kDrawn: the owner draws it on request (MenuImageRequest), told
  // image_data.
  enum class Image { kNone, kBitmap, kDrawn };
  Image image = Image::kNone;
  BitmapId image_bitmap = kNoBitmap;
  std::uintptr_t image_data = 0;
};

// How menus show item pictures here. Themed menus blend 32-bit premultiplied-alpha bitmaps;
// classic ones, and Wine's, copy a bitmap as it is, so their pictures are drawn by the owner.
enum class MenuImageMode { kBlendedBitmaps, kOwnerDrawn };

// A menu asking its owner, in WM_MEASUREITEM or WM_DRAWITEM, about a kDrawn picture.
struct MenuImageRequest {
  bool draw = false;  // false: the size is asked
  std::uintptr_t data = 0;
};

// What a popup menu does with a key it was answered for.
enum class MenuCharAction {
  kSelect,  // selects the item, scrolled into view; nothing is chosen
  kChoose,  // chooses it, as Enter would: a submenu opens with its first item selected
};

// Sees the keys typed into an open popup menu before the menu does.
class MenuKeyFilter {
 public:
  // A WM_KEYDOWN (virtual key) or WM_CHAR (UTF-16 unit) on its way to the menu. True keeps it
  // from the menu.
  virtual bool FilterMenuKey(MessageId id, WParam key) = 0;

 protected:
  ~MenuKeyFilter() = default;
};

class Windowing {
 public:
  virtual ~Windowing() = default;

  // Windows. The handler must outlive the window.
  virtual WindowId NewWindow(const WindowSpec& desc, WindowHandler* handler) = 0;
  virtual void DestroyWindow(WindowId window) = 0;
  // Returns whether the window was visible before. Showing a top-level window activates it,
  // which sends it WM_ACTIVATE.
  virtual bool ShowWindow(WindowId window, int show) = 0;
  virtual LResult DefaultProc(WindowId window, MessageId id, WParam wparam, LParam lparam) = 0;
  virtual LResult SendTo(WindowId window, MessageId id, WParam wparam, LParam lparam) = 0;
  virtual void SetCaption(WindowId window, const std::string& caption) = 0;
  virtual bool EnableWindow(WindowId window, bool enable) = 0;
  virtual void SetFocus(WindowId window) = 0;
  virtual WindowId GetFocus() = 0;
  // The DPI the window is drawn at: its monitor's, since the program is per-monitor aware.
  // kNoWindow gives the system's, at which new windows start.
  virtual int Dpi(WindowId window) = 0;
  // Moves and sizes a window: a top-level window's frame in screen coordinates, a control in
  // its parent's client area.
  virtual void SetBounds(WindowId window, const Rect& bounds) = 0;
  // Gives a form or control the dialog face at this character height in pixels, and redraws it.
  virtual void SetFontHeight(WindowId window, int height) = 0;

  // Check lists (kCheckList). Widths are in pixels.
  virtual void AddListColumn(WindowId list, const std::string& caption, int width) = 0;
  virtual void SetListColumnWidth(WindowId list, std::size_t column, int width) = 0;
  // Appends a row, one cell per column. A row with RowCheck::kNone shows no checkbox, and no
  // key or click gives it one.
  virtual void AddListRow(WindowId list, const std::vector<std::string>& cells, RowCheck check) = 0;
  virtual bool ListRowChecked(WindowId list, std::size_t row) = 0;

  // The message queue of the GUI thread. PostTo is safe from any thread.
  virtual bool PostTo(WindowId window, MessageId id, WParam wparam, LParam lparam) = 0;
  virtual void PostQuit(int exit_code) = 0;
  // Removes and returns the next message, WM_QUIT included; false when none is waiting.
  virtual bool PeekNext(Message& message) = 0;
  // Blocks until a message is waiting.
  virtual void WaitMessage() = 0;
  virtual LResult Dispatch(const Message& message) = 0;
  // Whether Shift was held when the keyboard message being handled was sent.
  virtual bool ShiftDown() = 0;

  // A monotonic clock in milliseconds, for pacing long work on the GUI thread.
  virtual std::int64_t Now() const = 0;
  // Periodic timers, delivered as WM_TIMER with wparam = id.
  virtual bool SetTimer(WindowId window, TimerId id, std::uint32_t interval_ms) = 0;
  virtual void KillTimer(WindowId window, TimerId id) = 0;

  // Popup menus. Destroying a menu destroys its submenus.
  virtual MenuId CreatePopupMenu() = 0;
  virtual void DestroyMenu(MenuId menu) = 0;
  virtual bool AppendMenuItem(MenuId menu, const MenuItemSpec& item) = 0;
  // Returns when the menu has closed. The owner receives WM_ENTERMENULOOP, WM_MENUSELECT and
  // WM_EXITMENULOOP meanwhile, and a chosen item's WM_COMMAND is posted to it.
  virtual bool TrackPopupMenu(MenuId menu, std::uint32_t flags, Point point, WindowId owner) = 0;

  // Typing in open popup menus. The filter, when set, sees every key typed into a popup
  // menu first (the message filter of menus on Win32); null removes it.
  virtual void SetMenuKeyFilter(MenuKeyFilter* filter) = 0;
  // The owner's answer to kWmMenuChar from menu: do action with the item at position.
  virtual LResult AnswerMenuChar(WindowId owner, MenuId menu, std::size_t position,
                                 MenuCharAction action) = 0;
  // Selects the item at position of menu, open on screen, scrolled into view, for a key the
  // filter kept from the menu. The menu may complete it after the filter has returned.
  virtual void SelectInOpenMenu(WindowId owner, MenuId menu, std::size_t position) = 0;

  // Pictures in menus (MenuItemSpec::image).
  virtual MenuImageMode MenuImages() = 0;
  // Whether the message is a menu's request about a kDrawn picture; fills request when it is.
  virtual bool ReadMenuImageRequest(MessageId id, LParam lparam, MenuImageRequest& request) = 0;
  // Answers a size request: the picture is size pixels square.
  virtual void AnswerMenuImageSize(LParam lparam, int size) = 0;
  // Answers a draw request with the icon at size pixels; kNoIcon leaves the place blank.
  virtual void DrawMenuImage(LParam lparam, IconId icon, int size) = 0;
  // A 32-bit premultiplied-alpha bitmap of the icon at size pixels, the caller's; a fully
  // transparent one for kNoIcon. kNoBitmap on failure.
  virtual BitmapId NewMenuBitmap(IconId icon, int size) = 0;
  virtual void DeleteBitmap(BitmapId bitmap) noexcept = 0;
  // Gives the command item of the menu, or of any menu below it, that bitmap instead.
  virtual bool SetMenuItemBitmap(MenuId menu, std::uint16_t command, BitmapId bitmap) = 0;
  // Repaints the menus on screen, so that pictures that arrived since are shown.
  virtual void RedrawOpenMenus() = 0;

  virtual bool GetCursorPos(Point& point) = 0;
  // A modal message box; returns the button pressed.
  virtual int ShowMessageBox(WindowId owner, const std::string& text, const std::string& caption,
                             std::uint32_t style) = 0;
  // How the program was asked to show itself at start (STARTUPINFO's show state).
  virtual int StartupShowState() = 0;
};

}  // namespace platform
