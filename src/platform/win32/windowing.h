#pragma once

#include <windows.h>

#include <map>

#include "platform/win32/handles.h"
#include "platform/windowing.h"

namespace win32 {

// The windowing seam over USER32. Windows and menus handed out belong to the caller, who
// destroys them; the dialog fonts belong to this object and must outlive the windows using them.
// A handler's exception is raised again from the call that ran the handler (see
// RethrowHandlerFailure).
class Windowing : public platform::Windowing {
 public:
  // Windows (windowing_windows.cpp).
  platform::WindowId NewWindow(const platform::WindowSpec& desc,
                               platform::WindowHandler* handler) override;
  void DestroyWindow(platform::WindowId window) override;
  bool ShowWindow(platform::WindowId window, int show) override;
  platform::LResult DefaultProc(platform::WindowId window, platform::MessageId id,
                                platform::WParam wparam, platform::LParam lparam) override;
  platform::LResult SendTo(platform::WindowId window, platform::MessageId id,
                           platform::WParam wparam, platform::LParam lparam) override;
  void SetCaption(platform::WindowId window, const std::string& caption) override;
  // Win32's meaning: true when the window was disabled before.
  bool EnableWindow(platform::WindowId window, bool enable) override;
  void SetFocus(platform::WindowId window) override;
  platform::WindowId GetFocus() override;
  void SetBounds(platform::WindowId window, const platform::Rect& bounds) override;
  bool GetCursorPos(platform::Point& point) override;
  int ShowMessageBox(platform::WindowId owner, const std::string& text, const std::string& caption,
                     std::uint32_t style) override;
  int StartupShowState() override;

  // DPI and fonts (windowing_dpi.cpp). Without GetDpiForWindow (before Windows 10 1607), the
  // DPI of every window is the system's.
  int Dpi(platform::WindowId window) override;
  void SetFontHeight(platform::WindowId window, int height) override;

  // Check lists (windowing_check_list.cpp, check_list.h): report list views.
  void AddListColumn(platform::WindowId list, const std::string& caption, int width) override;
  void SetListColumnWidth(platform::WindowId list, std::size_t column, int width) override;
  void AddListRow(platform::WindowId list, const std::vector<std::string>& cells,
                  platform::RowCheck check) override;
  bool ListRowChecked(platform::WindowId list, std::size_t row) override;

  // The message queue and timers (windowing_queue.cpp). PostTo is PostMessageW, safe from any
  // thread.
  bool PostTo(platform::WindowId window, platform::MessageId id, platform::WParam wparam,
              platform::LParam lparam) override;
  void PostQuit(int exit_code) override;
  bool PeekNext(platform::Message& message) override;
  void WaitMessage() override;
  platform::LResult Dispatch(const platform::Message& message) override;
  bool ShiftDown() override;
  std::int64_t Now() const override;
  bool SetTimer(platform::WindowId window, platform::TimerId id,
                std::uint32_t interval_ms) override;
  void KillTimer(platform::WindowId window, platform::TimerId id) override;

  // Popup menus (windowing_menus.cpp).
  platform::MenuId CreatePopupMenu() override;
  void DestroyMenu(platform::MenuId menu) override;
  bool AppendMenuItem(platform::MenuId menu, const platform::MenuItemSpec& item) override;
  bool TrackPopupMenu(platform::MenuId menu, std::uint32_t flags, platform::Point point,
                      platform::WindowId owner) override;

  // Typing in popup menus (windowing_menu_keys.cpp, menu_keys.h).
  void SetMenuKeyFilter(platform::MenuKeyFilter* filter) override;
  platform::LResult AnswerMenuChar(platform::WindowId owner, platform::MenuId menu,
                                   std::size_t position, platform::MenuCharAction action) override;
  void SelectInOpenMenu(platform::WindowId owner, platform::MenuId menu,
                        std::size_t position) override;

  // Pictures in menus (windowing_menu_images.cpp). Themed menus blend bitmaps; without a theme,
  // and under Wine, which copies an item's bitmap as it is, pictures are drawn with
  // HBMMENU_CALLBACK.
  platform::MenuImageMode MenuImages() override;
  bool ReadMenuImageRequest(platform::MessageId id, platform::LParam lparam,
                            platform::MenuImageRequest& request) override;
  void AnswerMenuImageSize(platform::LParam lparam, int size) override;
  void DrawMenuImage(platform::LParam lparam, platform::IconId icon, int size) override;
  platform::BitmapId NewMenuBitmap(platform::IconId icon, int size) override;
  void DeleteBitmap(platform::BitmapId bitmap) noexcept override;
  bool SetMenuItemBitmap(platform::MenuId menu, std::uint16_t command,
                         platform::BitmapId bitmap) override;
  void RedrawOpenMenus() override;

 private:
  // The message filter of menus, while a filter is set; none otherwise.
  UniqueHook HookMenuKeys();
  // The dialog face at a character height in pixels, made at first use.
  HFONT FontFor(int height);

  std::map<int, UniqueFont> fonts_;
};

}  // namespace win32
