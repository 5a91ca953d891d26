// win32::Windowing: windows of each kind, the queue, timers and handler failures.

#include "platform/win32/windowing.h"

#include <gtest/gtest.h>
#include <windows.h>
// commctrl.h needs the definitions of windows.h first.
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/utf.h"
#include "window_test_support.h"

namespace {

using namespace std::chrono_literals;
using platform::Message;
using platform::WindowKind;
using platform::WindowSpec;
using win32_test::PumpUntil;
using win32_test::Recorder;
using win32_test::TestWindow;

constexpr platform::MessageId kPing = platform::kWmUser + 1;
constexpr platform::MessageId kPong = platform::kWmUser + 2;
constexpr platform::MessageId kFail = platform::kWmUser + 3;
constexpr int kFontHeight = 11;

std::wstring ClassName(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

std::string Caption(HWND window) {
  std::wstring text(::GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(::GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return win32::WideToUtf8(text);
}

DWORD Style(HWND window) {
  return static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
}
DWORD ExStyle(HWND window) {
  return static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
}
bool Has(DWORD bits, DWORD wanted) {
  return (bits & wanted) == wanted;
}

// The LOGFONT height of the window's font; 0 without one.
LONG FontHeightOf(HWND window) {
  LOGFONTW font{};
  const auto handle = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
  if (handle != nullptr) ::GetObjectW(handle, sizeof(font), &font);
  return font.lfHeight;
}

RECT BoundsIn(HWND window, HWND parent) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

WindowSpec SpecOf(WindowKind kind, platform::WindowId parent = platform::kNoWindow,
                  const std::string& caption = "") {
  WindowSpec desc;
  desc.kind = kind;
  desc.parent = parent;
  desc.caption = caption;
  return desc;
}

WindowSpec Placed(WindowSpec desc, int left, int top, int width, int height) {
  desc.left = left;
  desc.top = top;
  desc.width = width;
  desc.height = height;
  return desc;
}

class WindowingTest : public ::testing::Test {
 protected:
  win32::Windowing windowing_;
  Recorder recorder_{windowing_};
};

TEST_F(WindowingTest, HiddenWindowsAreNeverShownAndGetTheirHandler) {
  const TestWindow hidden(windowing_, SpecOf(WindowKind::kMessageOnly), &recorder_);
  ASSERT_NE(hidden.id(), platform::kNoWindow);
  EXPECT_FALSE(::IsWindowVisible(hidden.hwnd()));
  EXPECT_TRUE(Has(Style(hidden.hwnd()), WS_POPUP));
  EXPECT_TRUE(Has(ExStyle(hidden.hwnd()), WS_EX_TOOLWINDOW));
  // A real top-level window, not a message-only one: it has no HWND_MESSAGE parent.
  EXPECT_EQ(::GetAncestor(hidden.hwnd(), GA_PARENT), ::GetDesktopWindow());
  EXPECT_EQ(recorder_.Count(WM_CREATE), 1u);
  EXPECT_EQ(windowing_.SendTo(hidden.id(), kPing, 1, 2), 0);
  ASSERT_FALSE(recorder_.seen.empty());
  EXPECT_EQ(recorder_.seen.back().id, kPing);
  EXPECT_EQ(recorder_.seen.back().window, hidden.id());
}

TEST_F(WindowingTest, ApplicationWindowIsCentredWithItsCaption) {
  const TestWindow app(windowing_,
                       SpecOf(WindowKind::kApplication, platform::kNoWindow, "Tapwise Ünïnstaller"),
                       &recorder_);
  EXPECT_EQ(Caption(app.hwnd()), "Tapwise Ünïnstaller");
  EXPECT_TRUE(Has(Style(app.hwnd()), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
  EXPECT_FALSE(::IsWindowVisible(app.hwnd()));
  RECT bounds{};
  ::GetWindowRect(app.hwnd(), &bounds);
  EXPECT_EQ(bounds.left, ::GetSystemMetrics(SM_CXSCREEN) / 2);
  EXPECT_EQ(bounds.top, ::GetSystemMetrics(SM_CYSCREEN) / 2);
}

TEST_F(WindowingTest, FormHasTheClientSizeAndItsControls) {
  const TestWindow owner(windowing_, SpecOf(WindowKind::kApplication), &recorder_);
  WindowSpec form_spec = Placed(SpecOf(WindowKind::kForm, owner.id(), "Options"), 40, 30, 300, 160);
  form_spec.ex_style = WS_EX_TOPMOST;
  const TestWindow form(windowing_, form_spec, &recorder_);
  ASSERT_NE(form.id(), platform::kNoWindow);
  RECT client{};
  ::GetClientRect(form.hwnd(), &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 160);
  RECT frame{};
  ::GetWindowRect(form.hwnd(), &frame);
  EXPECT_EQ(frame.left, 40);
  EXPECT_EQ(frame.top, 30);
  EXPECT_EQ(::GetWindow(form.hwnd(), GW_OWNER), owner.hwnd());
  // The frame is the one the description asks for, nothing added.
  EXPECT_TRUE(Has(ExStyle(form.hwnd()), WS_EX_TOPMOST));
  EXPECT_FALSE(Has(ExStyle(form.hwnd()), WS_EX_DLGMODALFRAME));
  EXPECT_FALSE(::IsWindowVisible(form.hwnd()));

  struct ControlCase {
    WindowKind kind;
    const wchar_t* class_name;
    DWORD type_bits;
    int control_id;
  };
  const std::vector<ControlCase> controls = {
      {WindowKind::kCheckBox, L"Button", BS_AUTOCHECKBOX | WS_TABSTOP, 11},
      {WindowKind::kButton, L"Button", BS_PUSHBUTTON | WS_TABSTOP, 12},
      {WindowKind::kBevel, L"Static", SS_ETCHEDHORZ, 13},
      {WindowKind::kCheckList, WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | WS_TABSTOP, 14},
  };
  // Our own class keeps no font, so the controls are compared with each other.
  LRESULT control_font = 0;
  for (const ControlCase& c : controls) {
    SCOPED_TRACE(c.control_id);
    WindowSpec desc = Placed(SpecOf(c.kind, form.id(), "&Hide Ä"), 8, 20, 120, 30);
    desc.control_id = c.control_id;
    desc.font_height = kFontHeight;
    const TestWindow control(windowing_, desc, nullptr);
    ASSERT_NE(control.id(), platform::kNoWindow);
    EXPECT_EQ(::GetParent(control.hwnd()), form.hwnd());
    EXPECT_EQ(::lstrcmpiW(ClassName(control.hwnd()).c_str(), c.class_name), 0);
    EXPECT_TRUE(Has(Style(control.hwnd()), WS_CHILD | WS_VISIBLE | c.type_bits));
    EXPECT_EQ(::GetDlgCtrlID(control.hwnd()), c.control_id);
    // A static without text keeps no font either.
    const LRESULT font = ::SendMessageW(control.hwnd(), WM_GETFONT, 0, 0);
    if (c.kind != WindowKind::kBevel) {
      EXPECT_NE(font, 0);
      EXPECT_EQ(FontHeightOf(control.hwnd()), -kFontHeight);
      if (control_font != 0) {
        EXPECT_EQ(font, control_font);
      }
      control_font = font;
    }
    RECT rect{};
    ::GetWindowRect(control.hwnd(), &rect);
    ::MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 8);
    EXPECT_EQ(rect.bottom, 50);
    if (c.kind == WindowKind::kBevel) {
      EXPECT_EQ(rect.bottom - rect.top, 2);
    } else {
      EXPECT_EQ(Caption(control.hwnd()), "&Hide Ä");
    }
  }
}

TEST_F(WindowingTest, BoundsAndFontHeightChangeAfterCreation) {
  const TestWindow form(windowing_, Placed(SpecOf(WindowKind::kForm), 10, 10, 300, 160),
                        &recorder_);
  struct Case {
    WindowKind kind;
    platform::Rect asked;
    RECT placed;  // in the parent's client area; the screen's for the form
  };
  const Case cases[] = {
      {WindowKind::kCheckBox, {12, 24, 312, 50}, {12, 24, 312, 50}},
      {WindowKind::kButton, {300, 100, 412, 140}, {300, 100, 412, 140}},
      // The divider stays a line along the bottom of what it is given.
      {WindowKind::kBevel, {24, 84, 434, 111}, {24, 109, 434, 111}},
      {WindowKind::kForm, {70, 60, 540, 300}, {70, 60, 540, 300}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    std::unique_ptr<TestWindow> control;
    if (c.kind != WindowKind::kForm) {
      control = std::make_unique<TestWindow>(
          windowing_, Placed(SpecOf(c.kind, form.id(), "x"), 8, 8, 80, 24), nullptr);
    }
    const TestWindow& window = control ? *control : form;
    windowing_.SetBounds(window.id(), c.asked);
    const RECT placed = BoundsIn(window.hwnd(), control ? form.hwnd() : nullptr);
    EXPECT_TRUE(::EqualRect(&placed, &c.placed))
        << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;
    // Our own class and a static without text keep no font.
    if (c.kind == WindowKind::kBevel || c.kind == WindowKind::kForm) continue;
    for (const int height : {16, 21}) {
      windowing_.SetFontHeight(window.id(), height);
      EXPECT_EQ(FontHeightOf(window.hwnd()), -height);
    }
  }
}

TEST_F(WindowingTest, DpiOfAWindowIsTheSystemsUnderOneMonitor) {
  const TestWindow form(windowing_, Placed(SpecOf(WindowKind::kForm), 0, 0, 100, 50), &recorder_);
  const win32::UniqueScreenDc screen(::GetDC(nullptr));
  const int screen_dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
  EXPECT_EQ(windowing_.Dpi(platform::kNoWindow), screen_dpi);
  EXPECT_EQ(windowing_.Dpi(form.id()), screen_dpi);
  // A window that is gone has no DPI of its own.
  EXPECT_EQ(windowing_.Dpi(platform::WindowId{0xDEAD0}), screen_dpi);
}

TEST_F(WindowingTest, ShowingReportsPreviousVisibilityAndActivates) {
  const TestWindow form(windowing_, Placed(SpecOf(WindowKind::kForm), 0, 0, 100, 50), &recorder_);
  EXPECT_FALSE(windowing_.ShowWindow(form.id(), platform::kSwShow));
  EXPECT_TRUE(::IsWindowVisible(form.hwnd()));
  const bool activated = std::any_of(recorder_.seen.begin(), recorder_.seen.end(), [](auto& m) {
    return m.id == platform::kWmActivate && m.wparam != platform::kWaInactive;
  });
  EXPECT_TRUE(activated);
  EXPECT_TRUE(windowing_.ShowWindow(form.id(), platform::kSwHideWindow));
  EXPECT_FALSE(windowing_.ShowWindow(form.id(), platform::kSwHideWindow));
}

TEST_F(WindowingTest, ACentredFormSitsInTheMiddleOfTheScreen) {
  WindowSpec desc = Placed(SpecOf(WindowKind::kForm), 40, 30, 300, 160);
  desc.centered = true;
  const TestWindow form(windowing_, desc, &recorder_);
  RECT frame{};
  ::GetWindowRect(form.hwnd(), &frame);
  EXPECT_EQ(frame.left, (::GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2);
  EXPECT_EQ(frame.top, (::GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2);
}

TEST_F(WindowingTest, EnableAndFocusFollowWin32) {
  const TestWindow form(windowing_, Placed(SpecOf(WindowKind::kForm), 0, 0, 200, 80), &recorder_);
  const auto control = [&](WindowKind kind, int id) {
    WindowSpec desc = Placed(SpecOf(kind, form.id()), 8, 8 + 30 * id, 80, 24);
    desc.control_id = id;
    return desc;
  };
  const TestWindow check(windowing_, control(WindowKind::kCheckBox, 1), nullptr);
  const TestWindow button(windowing_, control(WindowKind::kButton, 2), nullptr);
  windowing_.ShowWindow(form.id(), platform::kSwShow);

  windowing_.SetFocus(check.id());
  EXPECT_EQ(windowing_.GetFocus(), check.id());
  windowing_.SetFocus(button.id());
  EXPECT_EQ(windowing_.GetFocus(), button.id());

  EXPECT_FALSE(windowing_.EnableWindow(button.id(), false));
  EXPECT_TRUE(windowing_.EnableWindow(button.id(), false));
  EXPECT_FALSE(::IsWindowEnabled(button.hwnd()));
  EXPECT_TRUE(windowing_.EnableWindow(button.id(), true));

  windowing_.SendTo(check.id(), platform::kBmSetCheck, platform::kBstChecked, 0);
  EXPECT_EQ(windowing_.SendTo(check.id(), platform::kBmGetCheck, 0, 0),
            static_cast<platform::LResult>(platform::kBstChecked));
}

TEST_F(WindowingTest, TimerTicksArriveThroughPeekAndDispatch) {
  constexpr platform::TimerId kTimer = 7;
  const TestWindow hidden(windowing_, WindowSpec{}, &recorder_);
  const auto ticks = [&] {
    return std::count_if(recorder_.seen.begin(), recorder_.seen.end(), [](const Message& m) {
      return m.id == platform::kWmTimer && m.wparam == kTimer;
    });
  };
  ASSERT_TRUE(windowing_.SetTimer(hidden.id(), kTimer, 10));
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (ticks() < 2 && std::chrono::steady_clock::now() < deadline) {
    windowing_.WaitMessage();
    Message message;
    while (windowing_.PeekNext(message)) windowing_.Dispatch(message);
  }
  EXPECT_GE(ticks(), 2);
  windowing_.KillTimer(hidden.id(), kTimer);
  const auto after_kill = ticks();
  PumpUntil(
      windowing_, [] { return false; }, 100ms);
  EXPECT_EQ(ticks(), after_kill);
}

TEST_F(WindowingTest, QuitComesAfterEveryPostedMessageAndOnlyOnce) {
  const TestWindow hidden(windowing_, WindowSpec{}, &recorder_);
  PumpUntil(
      windowing_, [] { return false; }, 50ms);  // whatever creation left behind
  ASSERT_TRUE(windowing_.PostTo(hidden.id(), kPing, 1, 0));
  windowing_.PostQuit(3);
  ASSERT_TRUE(windowing_.PostTo(hidden.id(), kPong, 2, 0));
  std::vector<Message> taken;
  Message message;
  while (windowing_.PeekNext(message)) {
    if (message.id == kPing || message.id == kPong || message.id == platform::kWmQuit) {
      taken.push_back(message);
    }
  }
  ASSERT_EQ(taken.size(), 3u);
  EXPECT_EQ(taken[0].id, kPing);
  EXPECT_EQ(taken[1].id, kPong);
  EXPECT_EQ(taken[2].id, platform::kWmQuit);
  EXPECT_EQ(taken[2].wparam, 3u);
  EXPECT_EQ(taken[0].window, hidden.id());
}

TEST_F(WindowingTest, HandlerFailureIsRaisedByTheCallThatRanIt) {
  recorder_.react = [](const Message& m) -> std::optional<platform::LResult> {
    if (m.id == kFail) throw std::runtime_error("handler failed");
    if (m.id == kPong) return 42;
    return std::nullopt;
  };
  const TestWindow hidden(windowing_, WindowSpec{}, &recorder_);
  EXPECT_THROW(windowing_.SendTo(hidden.id(), kFail, 0, 0), std::runtime_error);
  EXPECT_EQ(windowing_.SendTo(hidden.id(), kPong, 0, 0), 42);

  ASSERT_TRUE(windowing_.PostTo(hidden.id(), kFail, 0, 0));
  Message message;
  ASSERT_TRUE(windowing_.PeekNext(message));
  EXPECT_THROW(windowing_.Dispatch(message), std::runtime_error);
}

TEST_F(WindowingTest, WindowWhoseCreationFailsIsDestroyed) {
  recorder_.react = [](const Message& m) -> std::optional<platform::LResult> {
    if (m.id == WM_CREATE) throw std::runtime_error("creation failed");
    return std::nullopt;
  };
  EXPECT_THROW(windowing_.NewWindow(WindowSpec{}, &recorder_), std::runtime_error);
  EXPECT_EQ(recorder_.Count(WM_NCDESTROY), 1u);
}

TEST_F(WindowingTest, CursorPositionIsTheSystems) {
  ASSERT_TRUE(::SetCursorPos(123, 45));
  platform::Point point;
  ASSERT_TRUE(windowing_.GetCursorPos(point));
  EXPECT_EQ(point, (platform::Point{123, 45}));
}

}  // namespace
