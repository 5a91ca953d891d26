#pragma once

// A deterministic window system on a virtual clock (milliseconds from 0), used from one thread,
// the GUI thread, except for PostTo, which any thread may call, as on Windows: a worker's post
// joins the queue the moment it is made. Time moves only while the program waits: in
// WaitMessage and in the modal loops of popup menus and message boxes. A scripted user answers
// menus and boxes and acts at given times.
//
// Files: sim_windows.cpp (windows, activation, focus), sim_queue.cpp (queue, timers, clock),
// sim_modal.cpp (menus, message boxes, the nested loop they run), sim_input.cpp (the scripted
// keyboard and mouse, and how controls answer them), sim_menu_keys.cpp (keys in open menus).

#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/mutex.h"
#include "platform/sim/sim_errors.h"
#include "platform/sim/sim_menu_model.h"
#include "platform/sim/sim_schedule.h"
#include "platform/windowing.h"

namespace sim {

struct PopupRecord {
  std::int64_t time_ms = 0;
  platform::Point point;
  std::uint32_t flags = 0;
  platform::WindowId owner = platform::kNoWindow;
  std::vector<MenuNode> items;        // the menu once the user has opened every submenu
  std::vector<MenuNode> first_shown;  // the menu as it first appeared, before any submenu opened
  std::int64_t closed_ms = -1;        // -1 while open
};

struct BoxRecord {
  std::int64_t time_ms = 0;
  platform::WindowId owner = platform::kNoWindow;
  std::string text;
  std::string caption;
  std::uint32_t style = 0;
  int answer = 0;               // 0 while open
  std::int64_t closed_ms = -1;  // -1 while open
};

class WindowSystem final : public platform::Windowing {
 public:
  static constexpr std::int64_t kDefaultTimeLimitMs = 24LL * 60 * 60 * 1000;
  static constexpr std::int64_t kDefaultAnswerDelayMs = 100;

  WindowSystem();
  ~WindowSystem() override;
  WindowSystem(const WindowSystem&) = delete;
  WindowSystem& operator=(const WindowSystem&) = delete;

  // --- The seam -------------------------------------------------------------------------

  // Windows (sim_windows.cpp). Ids count up from a non-zero start and are never reused.
  // Showing a top-level window (application or form) activates it unless the show state is
  // one of the no-activate ones (SW_SHOWNOACTIVATE, SW_MINIMIZE, SW_SHOWMINNOACTIVE,
  // SW_SHOWNA): WM_ACTIVATE(WA_INACTIVE, new) goes to the window that was active, then
  // WM_ACTIVATE(WA_ACTIVE, previous) to it, and it takes the focus. Hiding the active window
  // deactivates it (WM_ACTIVATE(WA_INACTIVE, 0)) and activates nothing else. Focus changes
  // send WM_KILLFOCUS to the old and WM_SETFOCUS to the new window, as Windows does.
  // Destroying a window destroys the windows it owns first, then sends it WM_DESTROY, then
  // destroys its child controls; its timers die with it.
  platform::WindowId NewWindow(const platform::WindowSpec& desc,
                               platform::WindowHandler* handler) override;
  void DestroyWindow(platform::WindowId window) override;
  bool ShowWindow(platform::WindowId window, int show) override;
  // 0 for everything. Check boxes keep their check state (BM_SETCHECK, BM_GETCHECK). A check
  // box or button clicked, by the mouse or by Space released while it has the focus, sends
  // WM_COMMAND(BN_CLICKED) to its form; an automatic check box toggles first. Alt+F4 on a
  // control or a form asks its form to close (WM_SYSCOMMAND SC_CLOSE), and SC_CLOSE sends
  // WM_CLOSE. WM_CLOSE does nothing here.
  platform::LResult DefaultProc(platform::WindowId window, platform::MessageId id,
                                platform::WParam wparam, platform::LParam lparam) override;
  // The handler's result (DefaultProc's without a handler); 0 for an unknown window.
  platform::LResult SendTo(platform::WindowId window, platform::MessageId id,
                           platform::WParam wparam, platform::LParam lparam) override;
  void SetCaption(platform::WindowId window, const std::string& caption) override;
  // True when the window was disabled before, as on Win32.
  bool EnableWindow(platform::WindowId window, bool enable) override;
  void SetFocus(platform::WindowId window) override;
  platform::WindowId GetFocus() override { return focus_; }
  // A window starts at the system's DPI; a control is drawn at its form's. The system's for
  // an unknown window.
  int Dpi(platform::WindowId window) override;
  // Frames have no border here: a form's frame is its client area. Nothing for an unknown
  // window.
  void SetBounds(platform::WindowId window, const platform::Rect& bounds) override;
  void SetFontHeight(platform::WindowId window, int height) override;
  void AddListColumn(platform::WindowId list, const std::string& caption, int width) override;
  void SetListColumnWidth(platform::WindowId list, std::size_t column, int width) override;
  void AddListRow(platform::WindowId list, const std::vector<std::string>& cells,
                  platform::RowCheck check) override;
  bool ListRowChecked(platform::WindowId list, std::size_t row) override;

  // The queue (sim_queue.cpp). PeekNext gives posted messages first (FIFO), then WM_QUIT
  // once when a quit was requested, then one WM_TIMER of the earliest due timer. PostTo is
  // safe from any thread; a worker's messages wait for the GUI thread to take them: WaitMessage
  // does not wait for them, so a test lets its workers post before it waits.
  bool PostTo(platform::WindowId window, platform::MessageId id, platform::WParam wparam,
              platform::LParam lparam) override;
  void PostQuit(int exit_code) override;
  bool PeekNext(platform::Message& message) override;
  // Moves the clock on to the next timer or scripted action until a message is waiting.
  // Throws Hang when nothing could ever wake the program or the time limit would be passed.
  void WaitMessage() override;
  platform::LResult Dispatch(const platform::Message& message) override;
  // Shift as scripted for the keyboard message taken last.
  bool ShiftDown() override { return shift_down_; }
  // False for an unknown window, or while timers are made to fail (FailTimers).
  bool SetTimer(platform::WindowId window, platform::TimerId id,
                std::uint32_t interval_ms) override;
  void KillTimer(platform::WindowId window, platform::TimerId id) override;

  // Menus and message boxes (sim_modal.cpp).
  platform::MenuId CreatePopupMenu() override;
  void DestroyMenu(platform::MenuId menu) override;
  bool AppendMenuItem(platform::MenuId menu, const platform::MenuItemSpec& item) override;
  // Records the pop-up, sends WM_ENTERMENULOOP(TRUE), takes the next scripted menu answer and
  // runs a modal loop (posted messages, timers and actions are handled) until the answer's
  // delay has passed; then sends WM_MENUSELECT(0xFFFF0000, 0) and WM_EXITMENULOOP(TRUE), and
  // posts WM_COMMAND to the owner when an item was chosen. The loop takes messages in
  // PeekNext's order but never WM_QUIT: once only a quit is waiting, the menu closes at once
  // without a choice and the quit stays pending. A path that chooses nothing shown throws
  // ScriptError. False for an unknown menu or owner, or when a menu is already open.
  bool TrackPopupMenu(platform::MenuId menu, std::uint32_t flags, platform::Point point,
                      platform::WindowId owner) override;
  bool GetCursorPos(platform::Point& point) override;

  // Typing in menus (sim_menu_keys.cpp), as Windows documents it. A printable key that matches
  // no access key (a single "&" before it) sends kWmMenuChar(MAKEWPARAM(key, MF_POPUP), menu)
  // to the owner, and its answer is taken: MNC_SELECT selects the item at its low word,
  // MNC_EXECUTE chooses it (a submenu opens with its first item selected), MNC_CLOSE closes the
  // menu, MNC_IGNORE beeps. Every key goes to the filter first, which may keep it.
  void SetMenuKeyFilter(platform::MenuKeyFilter* filter) override { menu_key_filter_ = filter; }
  // MAKELRESULT(position, MNC_SELECT or MNC_EXECUTE).
  platform::LResult AnswerMenuChar(platform::WindowId owner, platform::MenuId menu,
                                   std::size_t position, platform::MenuCharAction action) override;
  // Selected at once, as Windows does it for the character that the Win32 layer posts and
  // answers with MNC_SELECT.
  void SelectInOpenMenu(platform::WindowId owner, platform::MenuId menu,
                        std::size_t position) override;

  // Pictures in menus (sim_menu_images.cpp). Requests are the ones PaintMenus makes; bitmaps
  // are numbered and counted until deleted; icons are drawn by recording them.
  platform::MenuImageMode MenuImages() override { return menu_image_mode_; }
  bool ReadMenuImageRequest(platform::MessageId id, platform::LParam lparam,
                            platform::MenuImageRequest& request) override;
  void AnswerMenuImageSize(platform::LParam lparam, int size) override;
  void DrawMenuImage(platform::LParam lparam, platform::IconId icon, int size) override;
  platform::BitmapId NewMenuBitmap(platform::IconId icon, int size) override;
  void DeleteBitmap(platform::BitmapId bitmap) noexcept override;
  bool SetMenuItemBitmap(platform::MenuId menu, std::uint16_t command,
                         platform::BitmapId bitmap) override;
  void RedrawOpenMenus() override { ++menu_redraws_; }

  // Records the box, takes the next scripted box answer and runs the same modal loop. A
  // pending quit closes the box at once with its default answer: IDOK for MB_OK, IDNO for
  // MB_YESNO, IDCANCEL for every other button set.
  int ShowMessageBox(platform::WindowId owner, const std::string& text, const std::string& caption,
                     std::uint32_t style) override;
  int StartupShowState() override { return startup_show_state_; }

  // --- The scripted user ----------------------------------------------------------------

  // Answers to the next menus, in order: choose by displayed captions, e.g.
  // {"All Programs", "AT&T Connect"}, or close with Escape; delay_ms after the menu appeared.
  void ChooseMenuItem(std::vector<std::string> caption_path,
                      std::int64_t delay_ms = kDefaultAnswerDelayMs);
  void DismissMenu(std::int64_t delay_ms = kDefaultAnswerDelayMs);
  // An answer made from the menu as shown, for scripts that cannot know its items: the
  // picker gives the displayed caption path to choose, or an empty path to close with Escape.
  using MenuPicker = std::function<std::vector<std::string>(const std::vector<MenuNode>& shown)>;
  void PickMenuItem(MenuPicker picker, std::int64_t delay_ms = kDefaultAnswerDelayMs);
  // An answer made with the keyboard: the menu stays up, with nothing selected, until keys sent
  // by At() actions choose an item or close it, or until within_ms after it appeared, when it
  // closes without a choice. Its submenus open only as the keys open them.
  void AnswerMenuByKeys(std::int64_t within_ms);
  // Characters typed into the open menu (WM_CHAR), one UTF-16 unit each: Enter ("\r") chooses
  // the selected item, Escape (0x1B) closes the innermost menu, other control characters do
  // nothing; the rest go as described at SetMenuKeyFilter.
  void TypeIntoMenu(std::u16string_view keys);
  // A key pressed in the open menu (WM_KEYDOWN): Down and Up move the selection, wrapping
  // around; Right opens the selected submenu, Left and Escape close the innermost one; Enter
  // chooses the selected item.
  void PressMenuKey(platform::WParam key);
  // While a menu answered by keys is up: the displayed captions from the top menu down to the
  // item selected last; empty when none.
  std::vector<std::string> MenuSelection() const;
  std::size_t MenuBeeps() const { return menu_beeps_; }

  // Answers to the next message boxes, in order (IDOK, IDYES, IDNO...).
  void AnswerBox(int result, std::int64_t delay_ms = kDefaultAnswerDelayMs);
  // Runs the action when the clock reaches time_ms, from whichever loop is running (main or
  // modal); an action for a time already passed runs at the next message retrieval or wait.
  void At(std::int64_t time_ms, std::function<void()> action);
  void SetCursor(platform::Point point) { cursor_ = point; }
  // Shift is held from now on, for clicks as much as for keys, or released.
  void HoldShift(bool held) { shift_down_ = held; }
  // A modal wait of ms (a program's own wait for another): messages, timers and actions are
  // handled meanwhile; it ends early when a quit is pending.
  void Wait(std::int64_t ms) { RunModal(now_ms_ + ms, "the end of a wait"); }
  // While set, GetCursorPos fails and leaves its point untouched.
  void FailCursorRead(bool fail) { cursor_read_fails_ = fail; }
  void SetStartupShowState(int show) { startup_show_state_ = show; }
  // While set, SetTimer grants no timer.
  void FailTimers(bool fail) { timers_fail_ = fail; }
  // While set, CreatePopupMenu gives no menu (kNoMenu).
  void FailMenuCreation(bool fail) { menu_creation_fails_ = fail; }
  // Each menu takes at most that many items, as a popup that stops accepting them does.
  void LimitMenuItems(std::size_t most) { most_items_ = most; }
  void SetTimeLimit(std::int64_t limit_ms) { time_limit_ms_ = limit_ms; }
  // The system's DPI (96 unless set), at which windows made from now on start.
  void SetSystemDpi(int dpi) { system_dpi_ = dpi; }
  // The user drags a top-level window onto a monitor of another DPI: from now on it and its
  // controls are drawn at dpi, and it receives WM_DPICHANGED with the suggested frame.
  void MoveToMonitor(platform::WindowId window, int dpi, const platform::Rect& suggested);

  // Keyboard and mouse (sim_input.cpp), meant for At() actions. Input goes through the queue,
  // and is lost, as on Windows, when its window or that window's form is hidden or disabled.
  enum class Modifier { kNone, kShift, kAlt };
  // A key pressed and released on the window that has the focus.
  void PressKey(platform::WParam key, Modifier modifier = Modifier::kNone);
  // A left click on a control (it takes the focus first) or in a window.
  void Click(platform::WindowId window);
  // A click on a check list row's checkbox: the row is selected, and checked or unchecked when
  // it has a checkbox.
  void ClickListRow(platform::WindowId list, std::size_t row);
  // The close button of a form's title bar.
  void ClickCloseButton(platform::WindowId window);
  // The first window with that caption; kNoWindow when there is none.
  platform::WindowId FindByCaption(std::string_view caption) const;

  // Menus blend bitmaps, as themed Windows menus do, or leave pictures to their owner.
  void SetMenuImageMode(platform::MenuImageMode mode) { menu_image_mode_ = mode; }
  // What the owner draws for each kDrawn picture of the menus alive now, in the order of their
  // items: it is asked the size, then to draw, as a menu on screen would ask it.
  struct DrawnImage {
    std::uintptr_t data = 0;
    int size = 0;                               // as the owner answered
    platform::IconId icon = platform::kNoIcon;  // kNoIcon: left blank
  };
  std::vector<DrawnImage> PaintMenus(platform::WindowId owner);
  // The menu tracked last, as it is now: pictures changed since it appeared included.
  std::vector<MenuNode> ShownNow() const { return Snapshot(tracked_menu_); }

  // --- What happened --------------------------------------------------------------------

  const std::vector<PopupRecord>& Popups() const { return popups_; }
  // The user opens each submenu a second time, as when moving out of it and back.
  void SetReopensSubmenus(bool reopens) { reopens_submenus_ = reopens; }
  // Items appended to any menu so far.
  std::size_t AppendedItems() const { return appended_items_; }
  const std::vector<BoxRecord>& Boxes() const { return boxes_; }
  std::size_t UnusedMenuAnswers() const { return menu_answers_.size(); }
  std::size_t UnusedBoxAnswers() const { return box_answers_.size(); }
  std::size_t PendingActions() const { return actions_.Count(); }
  std::int64_t Now() const override { return now_ms_; }
  bool IsVisible(platform::WindowId window) const;
  bool IsEnabled(platform::WindowId window) const;
  // The last show state the window was shown or hidden with; -1 when never.
  int LastShowState(platform::WindowId window) const;
  platform::WindowId ActiveWindow() const { return active_; }
  const platform::WindowSpec* SpecOf(platform::WindowId window) const;
  std::vector<platform::WindowId> Windows() const;
  std::size_t ActiveTimerCount() const { return timers_.Count(); }
  std::size_t LiveMenuCount() const { return menus_.size(); }
  // Safe from any thread.
  std::size_t QueuedMessageCount() const;
  bool QuitPending() const { return quit_pending_; }
  std::size_t LiveBitmapCount() const { return bitmaps_.size(); }
  // The icon a live bitmap was made from.
  platform::IconId BitmapIcon(platform::BitmapId bitmap) const;
  // The size in pixels a live bitmap was made at; 0 for none.
  int BitmapSize(platform::BitmapId bitmap) const;
  std::size_t MenuRedraws() const { return menu_redraws_; }
  // A check list as it is now.
  struct ListRow {
    std::vector<std::string> cells;
    platform::RowCheck check = platform::RowCheck::kNone;
  };
  struct ListState {
    std::vector<std::string> columns;
    std::vector<int> widths;
    std::vector<ListRow> rows;
    std::size_t selected = 0;
  };
  const ListState* ListOf(platform::WindowId list) const;

 private:
  struct WindowState {
    platform::WindowSpec desc;
    platform::WindowHandler* handler = nullptr;
    bool visible = false;
    bool enabled = true;
    bool destroying = false;
    int last_show = -1;
    int dpi = platform::kDefaultDpi;
    platform::WParam check = platform::kBstUnchecked;
    ListState list;
  };
  struct MenuState {
    std::vector<platform::MenuItemSpec> items;
  };
  struct MenuAnswer {
    bool choose = false;
    std::vector<std::string> caption_path;
    std::int64_t delay_ms = 0;
    MenuPicker picker;     // when set, it makes the choice instead
    bool by_keys = false;  // the keys sent meanwhile make the choice
  };
  struct BoxAnswer {
    int result = 0;
    std::int64_t delay_ms = 0;
  };
  enum class ModalEnd { kAnswered, kQuit };

  // sim_windows.cpp
  static bool IsControl(platform::WindowKind kind);
  WindowState* Find(platform::WindowId window);
  const WindowState* Find(platform::WindowId window) const;
  void Activate(platform::WindowId window);
  void Deactivate(platform::WindowId window);
  void DestroyRelated(platform::WindowId window, bool owned, std::exception_ptr& failure);
  void Forget(platform::WindowId window);
  bool FocusWithin(platform::WindowId window) const;

  // sim_input.cpp
  // Keyboard messages carry the scripted Shift state in a bit Windows leaves reserved.
  static constexpr platform::LParam kShiftBit = 1 << 25;
  void NoteModifiers(const platform::Message& message);
  static void ListKey(ListState& list, platform::WParam key);
  platform::LResult ControlProc(platform::WindowId window, WindowState& state,
                                platform::MessageId id, platform::WParam wparam);
  // Whether the user can reach the window: it and its form are visible and enabled.
  bool TakesInput(platform::WindowId window) const;
  platform::WindowId FormOf(platform::WindowId window) const;

  // sim_menu_keys.cpp
  struct MenuLevel {
    platform::MenuId menu = platform::kNoMenu;
    std::optional<std::size_t> selected;
  };
  void StartMenuKeys(platform::MenuId menu, platform::WindowId owner);
  void MenuCharacter(char16_t key);
  void MoveMenuSelection(bool down);
  void SelectByKey(std::size_t level, std::size_t position);
  void ChooseByKey(std::size_t level, std::size_t position);
  void CloseMenuLevel();
  const platform::MenuItemSpec* SelectedItem() const;

  // sim_queue.cpp
  // Takes the first posted message; a WM_QUIT only when quit_too.
  bool TakePosted(platform::Message& message, bool quit_too);
  bool MessageReady() const;
  bool QuitIsNext() const;
  // Takes the next posted message or due timer; WM_QUIT is left alone.
  bool TakeOrdinary(platform::Message& message);
  void CountDelivery();
  // Moves the clock to time_ms, running the actions due then; throws Hang past the limit.
  void AdvanceTo(std::int64_t time_ms, const char* waiting_for);
  std::string Situation() const;

  // sim_modal.cpp
  std::vector<MenuNode> Snapshot(platform::MenuId menu) const;
  // Opens every submenu of menu, depth first, as a user browsing it would: its owner hears
  // WM_INITMENUPOPUP for each (twice, while reopening is on).
  void OpenSubmenus(platform::MenuId menu, platform::WindowId owner);
  bool Reaches(platform::MenuId from, platform::MenuId target) const;
  // Handles messages, timers and actions until deadline_ms, or until a quit is pending.
  ModalEnd RunModal(std::int64_t deadline_ms, const char* waiting_for);

  std::int64_t now_ms_ = 0;
  std::int64_t time_limit_ms_ = kDefaultTimeLimitMs;
  std::int64_t deliveries_this_instant_ = 0;

  // Guards posted_ and the set of windows_, which PostTo reads from any thread: windows are
  // added and removed under it; the GUI thread reads them without it, since only it writes.
  mutable platform::Mutex queue_mutex_;
  std::map<platform::WindowId, WindowState> windows_;
  platform::WindowId next_window_;
  platform::WindowId active_ = platform::kNoWindow;
  platform::WindowId focus_ = platform::kNoWindow;

  std::deque<platform::Message> posted_ GUARDED_BY(queue_mutex_);
  bool quit_pending_ = false;
  int quit_code_ = 0;
  TimerTable timers_;
  bool timers_fail_ = false;
  ActionList actions_;

  std::map<platform::MenuId, MenuState> menus_;
  platform::MenuId next_menu_;
  bool menu_open_ = false;
  platform::MenuId tracked_menu_ = platform::kNoMenu;
  bool reopens_submenus_ = false;
  std::size_t appended_items_ = 0;
  bool menu_creation_fails_ = false;
  std::size_t most_items_ = SIZE_MAX;
  platform::MenuImageMode menu_image_mode_ = platform::MenuImageMode::kOwnerDrawn;
  std::map<platform::BitmapId, platform::IconId> bitmaps_;
  std::map<platform::BitmapId, int> bitmap_sizes_;
  platform::BitmapId next_bitmap_;
  std::size_t menu_redraws_ = 0;

  platform::MenuKeyFilter* menu_key_filter_ = nullptr;
  platform::WindowId menu_owner_ = platform::kNoWindow;
  std::vector<MenuLevel> menu_levels_;  // the open menus, top first, while keys answer
  std::optional<std::uint16_t> key_choice_;
  bool keys_ended_menu_ = false;
  std::size_t menu_beeps_ = 0;

  std::deque<MenuAnswer> menu_answers_;
  std::deque<BoxAnswer> box_answers_;
  std::vector<PopupRecord> popups_;
  std::vector<BoxRecord> boxes_;

  bool shift_down_ = false;

  platform::Point cursor_;
  bool cursor_read_fails_ = false;
  int system_dpi_ = platform::kDefaultDpi;
  int startup_show_state_ = platform::kSwShowNormalWindow;
};

}  // namespace sim
