// The options dialog as the entry block creates it over the real platform, read back with plain
// Win32 calls: its window, its controls, their font, the tab order and the options' start values.
// It is designed at 96 dpi; at any other DPI its client area, its controls and its font are the
// design scaled. Set TAPWISE_EXPECTED_DPI to check that the system runs at that DPI, and the
// measured layout is printed.

#include "app/menu/options_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/utf.h"
#include "program_forms.h"

namespace {

constexpr char kCaption[] = "Tapwise Uninstaller \\ Options";
constexpr LONG kClientWidth = 305;
constexpr LONG kClientHeight = 145;
constexpr wchar_t kFontFace[] = L"MS Sans Serif";
constexpr int kFontPoints = 8;
constexpr int kPointsPerInch = 72;
constexpr int kReferenceDpi = 96;
constexpr int kClassNameLength = 64;
// Scaled rectangles may be off by this many pixels: each edge is rounded on its own.
constexpr LONG kTolerance = 2;
constexpr char kExpectedDpiVariable[] = "TAPWISE_EXPECTED_DPI";

HWND Hwnd(platform::WindowId window) {
  return reinterpret_cast<HWND>(window);
}

DWORD Style(HWND window) {
  return static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
}

DWORD ExStyle(HWND window) {
  return static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
}

std::string Caption(HWND window) {
  std::wstring text(::GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(::GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return win32::WideToUtf8(text);
}

std::wstring ClassName(HWND window) {
  std::array<wchar_t, kClassNameLength> name{};
  ::GetClassNameW(window, name.data(), kClassNameLength);
  return name.data();
}

// A child's rectangle in its parent's client coordinates.
RECT ClientBounds(HWND child) {
  RECT bounds{};
  ::GetWindowRect(child, &bounds);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  const auto handle = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
  if (handle != nullptr) ::GetObjectW(handle, sizeof(font), &font);
  return font;
}

int ScreenDpi() {
  const win32::UniqueScreenDc screen(::GetDC(nullptr));
  return screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : kReferenceDpi;
}

LONG Scaled(LONG value, int dpi) {
  return std::lround(value * dpi / static_cast<double>(kReferenceDpi));
}

RECT Scaled(const RECT& design, int dpi) {
  return RECT{Scaled(design.left, dpi), Scaled(design.top, dpi), Scaled(design.right, dpi),
              Scaled(design.bottom, dpi)};
}

// The character height of the dialog face at dpi, as a LOGFONT asks for it.
LONG FontHeight(int dpi) {
  return -std::lround(kFontPoints * dpi / static_cast<double>(kPointsPerInch));
}

void ExpectNear(const RECT& actual, const RECT& expected) {
  EXPECT_NEAR(actual.left, expected.left, kTolerance);
  EXPECT_NEAR(actual.top, expected.top, kTolerance);
  EXPECT_NEAR(actual.right, expected.right, kTolerance);
  EXPECT_NEAR(actual.bottom, expected.bottom, kTolerance);
}

// The width of a text drawn in a font.
LONG TextWidth(HFONT font, const std::string& text) {
  const win32::UniqueScreenDc screen(::GetDC(nullptr));
  const HGDIOBJ old = ::SelectObject(screen.get(), font);
  const std::wstring wide = win32::Utf8ToWide(text);
  SIZE size{};
  ::GetTextExtentPoint32W(screen.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
  ::SelectObject(screen.get(), old);
  return size.cx;
}

win32::UniqueFont CaptionFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  return win32::UniqueFont(::CreateFontIndirectW(&metrics.lfCaptionFont));
}

std::string Describe(const RECT& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
         std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
}

// One child control: how to find it on the dialog, and what it must look like.
struct ControlCase {
  const char* label;
  const framework::TControl& (*control)(const app::OptionsDialog&);
  const wchar_t* class_name;
  DWORD type_mask;
  DWORD type;
  bool tab_stop;
  RECT bounds;  // left, top, right, bottom in the dialog's client area at 96 dpi
  const char* caption;
};

const ControlCase kControls[] = {
    {"HideMicrosoftBox",
     [](const app::OptionsDialog& d) -> const framework::TControl& { return d.hide_microsoft_box; },
     L"Button",
     BS_TYPEMASK,
     BS_AUTOCHECKBOX,
     true,
     {16, 16, 16 + 193, 16 + 17},
     "Hide Microsoft products"},
    {"ShowNoRemoveBox",
     [](const app::OptionsDialog& d) -> const framework::TControl& { return d.show_no_remove_box; },
     L"Button",
     BS_TYPEMASK,
     BS_AUTOCHECKBOX,
     true,
     {16, 40, 16 + 281, 40 + 17},
     "Show programs with \"NoRemove\" flag"},
    {"ShowSystemComponentsBox",
     [](const app::OptionsDialog& d) -> const framework::TControl& {
       return d.show_system_components_box;
     },
     L"Button",
     BS_TYPEMASK,
     BS_AUTOCHECKBOX,
     true,
     {16, 64, 16 + 281, 64 + 17},
     "Show system components and updates"},
    // A plain push button: OK is neither the default nor the cancel button.
    {"OkButton",
     [](const app::OptionsDialog& d) -> const framework::TControl& { return d.ok_button; },
     L"Button",
     BS_TYPEMASK,
     BS_PUSHBUTTON,
     true,
     {216, 112, 216 + 75, 112 + 23},
     "OK"},
    // The divider is only the etched line along the bottom of its 273 by 18 rectangle at 16,80.
    {"Divider",
     [](const app::OptionsDialog& d) -> const framework::TControl& { return d.divider; },
     L"Static",
     SS_TYPEMASK,
     SS_ETCHEDHORZ,
     false,
     {16, 96, 16 + 273, 96 + 2},
     ""},
};

// The program's forms, created as the entry block creates them, with no message loop running.
class OptionsDialogTest : public ::testing::Test {
 protected:
  HWND ControlWindow(const ControlCase& row) const { return Hwnd(row.control(dialog_).Handle()); }

  win32_test::ProgramForms forms_;
  app::OptionsDialog& dialog_ = forms_.dialog;
  HWND window_ = Hwnd(dialog_.Handle());
};

TEST_F(OptionsDialogTest, RunsAtTheExpectedDpi) {
  const char* expected = std::getenv(kExpectedDpiVariable);
  if (expected == nullptr) GTEST_SKIP() << kExpectedDpiVariable << " is not set";
  EXPECT_EQ(ScreenDpi(), std::atoi(expected));
  EXPECT_EQ(dialog_.Dpi(), ScreenDpi());
}

TEST_F(OptionsDialogTest, WindowIsAHiddenFixedTopmostBoxWithTheDesignClientAreaScaled) {
  ASSERT_TRUE(::IsWindow(window_));
  EXPECT_FALSE(::IsWindowVisible(window_)) << "hidden until the options command shows it";
  EXPECT_EQ(Caption(window_), kCaption);
  EXPECT_EQ(::FindWindowW(nullptr, win32::Utf8ToWide(kCaption).c_str()), window_);

  const DWORD style = Style(window_);
  EXPECT_EQ(style & WS_CHILD, 0u);
  EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_NE(style & WS_SYSMENU, 0u);
  EXPECT_EQ(style & WS_THICKFRAME, 0u) << "the size is fixed";
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u) << "the close button only";
  EXPECT_NE(ExStyle(window_) & WS_EX_TOPMOST, 0u);

  RECT client{};
  ASSERT_TRUE(::GetClientRect(window_, &client));
  ExpectNear(client, Scaled(RECT{0, 0, kClientWidth, kClientHeight}, ScreenDpi()));
}

TEST_F(OptionsDialogTest, WindowIsCentredOnTheScreen) {
  RECT frame{};
  ASSERT_TRUE(::GetWindowRect(window_, &frame));
  const int screen_width = ::GetSystemMetrics(SM_CXSCREEN);
  const int screen_height = ::GetSystemMetrics(SM_CYSCREEN);
  // Halving an odd difference may round either way.
  EXPECT_NEAR(frame.left, (screen_width - (frame.right - frame.left)) / 2, 1);
  EXPECT_NEAR(frame.top, (screen_height - (frame.bottom - frame.top)) / 2, 1);
}

TEST_F(OptionsDialogTest, ControlsHaveTheirKindPlaceCaptionAndFont) {
  const int dpi = ScreenDpi();
  RECT client{};
  ::GetClientRect(window_, &client);
  std::string layout = "layout at " + std::to_string(dpi) + " dpi: client " + Describe(client);
  for (const ControlCase& row : kControls) {
    SCOPED_TRACE(row.label);
    const HWND control = ControlWindow(row);
    ASSERT_TRUE(::IsWindow(control));
    EXPECT_EQ(::GetParent(control), window_);
    EXPECT_EQ(::lstrcmpiW(ClassName(control).c_str(), row.class_name), 0);

    const DWORD style = Style(control);
    EXPECT_NE(style & WS_CHILD, 0u);
    EXPECT_NE(style & WS_VISIBLE, 0u);
    EXPECT_EQ(style & row.type_mask, row.type);
    EXPECT_EQ((style & WS_TABSTOP) != 0, row.tab_stop);

    const RECT bounds = ClientBounds(control);
    ExpectNear(bounds, Scaled(row.bounds, dpi));
    layout += std::string("; ") + row.label + " " + Describe(bounds);

    EXPECT_EQ(Caption(control), row.caption);
    // A static control that draws a line keeps no font: only controls with text are asked.
    if (row.caption[0] == '\0') continue;
    const LOGFONTW font = FontOf(control);
    EXPECT_STREQ(font.lfFaceName, kFontFace);
    EXPECT_EQ(font.lfHeight, FontHeight(dpi));
  }
  std::printf("%s\n", layout.c_str());
}

// A move to a monitor of another DPI: the frame the system suggests is taken, and the controls
// and their font are laid out again for that DPI, from the design, so nothing drifts.
TEST_F(OptionsDialogTest, ADpiChangeTakesTheSuggestedFrameAndScalesTheControls) {
  for (const int dpi : {144, 192, 120, 96}) {
    SCOPED_TRACE(dpi);
    const RECT suggested{50 + dpi, 40, 50 + dpi + Scaled(kClientWidth, dpi) + 8,
                         40 + Scaled(kClientHeight, dpi) + 30};
    ::SendMessageW(window_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                   reinterpret_cast<LPARAM>(&suggested));
    RECT frame{};
    ::GetWindowRect(window_, &frame);
    EXPECT_TRUE(::EqualRect(&frame, &suggested));
    for (const ControlCase& row : kControls) {
      SCOPED_TRACE(row.label);
      const HWND control = ControlWindow(row);
      ExpectNear(ClientBounds(control), Scaled(row.bounds, dpi));
      if (row.caption[0] == '\0') continue;
      EXPECT_EQ(FontOf(control).lfHeight, FontHeight(dpi));
    }
  }
}

// Laid out at 96 dpi while the system font grows, texts and the caption are cut off.
TEST_F(OptionsDialogTest, TextsFitTheirControlsAndTheCaptionFitsTheTitleBar) {
  for (const ControlCase& row : kControls) {
    if (row.caption[0] == '\0') continue;
    SCOPED_TRACE(row.label);
    const HWND control = ControlWindow(row);
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    RECT client{};
    ::GetClientRect(control, &client);
    // A check box draws its box, then a gap, then its text.
    const bool boxed = row.type == BS_AUTOCHECKBOX;
    const LONG box = boxed ? ::GetSystemMetrics(SM_CXMENUCHECK) + ::GetSystemMetrics(SM_CXEDGE) : 0;
    EXPECT_LE(box + TextWidth(font, row.caption), client.right);
  }
  RECT frame{};
  ::GetWindowRect(window_, &frame);
  const win32::UniqueFont caption_font = CaptionFont();
  // The caption sits between the frame, the window's icon and the close button.
  const LONG beside = 2 * ::GetSystemMetrics(SM_CXFIXEDFRAME) + ::GetSystemMetrics(SM_CXSMICON) +
                      ::GetSystemMetrics(SM_CXSIZE);
  EXPECT_LE(beside + TextWidth(caption_font.get(), kCaption), frame.right - frame.left);
}

TEST_F(OptionsDialogTest, TabWalksTheCheckBoxesThenTheButtonAndSkipsTheBevel) {
  const HWND box1 = Hwnd(dialog_.hide_microsoft_box.Handle());
  const HWND box2 = Hwnd(dialog_.show_no_remove_box.Handle());
  const HWND box3 = Hwnd(dialog_.show_system_components_box.Handle());
  const HWND ok = Hwnd(dialog_.ok_button.Handle());
  EXPECT_EQ(::GetWindow(window_, GW_CHILD), box1) << "the first control takes the first focus";

  const std::array<HWND, 4> forward = {box1, box2, box3, ok};
  for (std::size_t i = 0; i < forward.size(); ++i) {
    const HWND from = forward[i];
    const HWND next = forward[(i + 1) % forward.size()];
    const HWND previous = forward[(i + forward.size() - 1) % forward.size()];
    SCOPED_TRACE(i);
    EXPECT_EQ(::GetNextDlgTabItem(window_, from, FALSE), next);
    EXPECT_EQ(::GetNextDlgTabItem(window_, from, TRUE), previous);
  }
}

TEST_F(OptionsDialogTest, OptionsStartWithMicrosoftHiddenAndNoRemoveEntriesLeftOut) {
  EXPECT_EQ(::SendMessageW(Hwnd(dialog_.hide_microsoft_box.Handle()), BM_GETCHECK, 0, 0),
            BST_CHECKED);
  EXPECT_EQ(::SendMessageW(Hwnd(dialog_.show_no_remove_box.Handle()), BM_GETCHECK, 0, 0),
            BST_UNCHECKED);
  EXPECT_EQ(::SendMessageW(Hwnd(dialog_.show_system_components_box.Handle()), BM_GETCHECK, 0, 0),
            BST_UNCHECKED);
}

}  // namespace
