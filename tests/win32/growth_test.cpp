// Nothing grows: rebuilding the program menus the way the options dialog's OK does, popping
// the menu up and closing it, and opening "All Programs" with its icons, each 200 times in one
// process over the real platform, leave the process's handles, USER and GDI objects and private
// memory where they were.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/popup_list.h"
#include "platform/win32/handles.h"
#include "process_figures.h"
#include "program_forms.h"
#include "quiet_process.h"
#include "test_support.h"

namespace {

using win32_test::Figure;
using win32_test::kFigureCount;
using win32_test::kFigures;
using win32_test::Readings;

constexpr int kCycles = 200;
constexpr int kWarmUp = 20;
constexpr int kPhaseWarmUp = 5;
constexpr int kEntries = 40;
constexpr UINT kCloseMenuMs = 10;
constexpr auto kQuietLimit = std::chrono::seconds(10);
// The witnesses make a handful of things at once, so that what they add stands well apart from
// the allowances and from what the rest of the process opens or closes meanwhile.
constexpr int kWitnessThings = 16;
constexpr SIZE_T kWitnessRegionBytes = 128 * 1024;
constexpr SIZE_T kWitnessBlockBytes = 16 * 1024;
constexpr wchar_t kUninstall[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The figures of a phase, one line each, for the record.
void Print(const char* phase, const Readings& start, const Readings& end) {
  std::printf("%-24s %12s %12s   %d %s\n", "", "before", "after", kCycles, phase);
  for (std::size_t i = 0; i < kFigureCount; ++i) {
    std::printf("%-24s %12lu %12lu\n", kFigures[i].label, static_cast<unsigned long>(start[i]),
                static_cast<unsigned long>(end[i]));
  }
}

void ExpectBack(const Readings& start, const Readings& end, const char* phase) {
  for (std::size_t i = 0; i < kFigureCount; ++i) {
    EXPECT_LE(end[i], start[i] + kFigures[i].allowance) << kFigures[i].label << " after " << phase;
  }
}

int menu_closings = 0;

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) {
  ++menu_closings;
  ::EndMenu();
}

// Opening "All Programs": the first tick selects it and opens it, as Down and Right do; the
// menu closes once the submenu has been up for a few ticks, its icons drawn.
constexpr int kOpenTicks = 4;
constexpr wchar_t kMenuClass[] = L"#32768";
int open_ticks = 0;
int submenus_seen = 0;
HWND menu_owner = nullptr;

BOOL CALLBACK CountMenuWindow(HWND window, LPARAM count) {
  wchar_t name[16] = {};
  if (::GetClassNameW(window, name, 16) > 0 && ::lstrcmpW(name, kMenuClass) == 0 &&
      ::IsWindowVisible(window)) {
    ++*reinterpret_cast<int*>(count);
  }
  return TRUE;
}

void CALLBACK OpenAllProgramsThenClose(HWND, UINT, UINT_PTR, DWORD) {
  if (open_ticks++ == 0) {
    ::PostMessageW(menu_owner, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(menu_owner, WM_KEYDOWN, VK_RIGHT, 0);
    return;
  }
  if (open_ticks < kOpenTicks) return;
  int menus = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), CountMenuWindow, reinterpret_cast<LPARAM>(&menus));
  if (menus >= 2) ++submenus_seen;
  ::EndMenu();
}

class GrowthTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const win32_test::UniqueKey uninstall = CreateKey(kUninstall);
    for (int i = 0; i < kEntries; ++i) {
      const std::wstring name = prefix_ + std::to_wstring(i);
      const win32_test::UniqueKey entry = CreateKey(std::wstring(kUninstall) + L"\\" + name);
      SetText(entry, L"DisplayName", L"Growth & Test " + std::to_wstring(i));
      SetText(entry, L"UninstallString", L"C:\\Growth\\" + std::to_wstring(i) + L"\\unins.exe");
      // Half the entries are dated by their install date, half by their icon file's date.
      if (i % 2 == 0) {
        SetText(entry, L"InstallDate", L"2024010" + std::to_wstring(i % 10));
      } else {
        SetText(entry, L"DisplayIcon", win32_test::HelperPath().wstring());
      }
    }
  }
  void TearDown() override {
    // The workers end once their jobs' owner has gone. On their way out they close handles and
    // free memory, which must not happen while the tests after this one count theirs.
    forms_.reset();
    EXPECT_TRUE(win32_test::WaitForThreadsToEnd(workers_, kQuietLimit)) << "the workers ended";
    const win32_test::UniqueKey uninstall = CreateKey(kUninstall);
    for (int i = 0; i < kEntries; ++i) {
      ::RegDeleteTreeW(uninstall.get(), (prefix_ + std::to_wstring(i)).c_str());
    }
  }

  static win32_test::UniqueKey CreateKey(const std::wstring& path) {
    win32_test::UniqueKey key;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      key.put(), nullptr);
    return key;
  }
  static void SetText(const win32_test::UniqueKey& key, const wchar_t* name,
                      const std::wstring& text) {
    ::RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }

  // The options dialog shown, its OK clicked: the program submenus are read again off the GUI
  // thread, and the menu pops up once they are; it is closed as it comes.
  void OptionsOk() {
    ::PostMessageW(reinterpret_cast<HWND>(dialog_.ok_button.Handle()), BM_CLICK, 0, 0);
    dialog_.ShowModal();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, kCloseMenuMs, CloseMenu);
    while (forms_->state.cycle == app::CycleState::kRebuilding) {
      forms_->application.HandleMessage();
    }
    ::KillTimer(nullptr, timer);
    forms_->application.ProcessMessages();
    forms_->state.cycle = app::CycleState::kStarting;
  }

  // The menu popped up where the dialog and the About box pop it up again, then closed.
  void PopupAndClose() {
    const UINT_PTR timer = ::SetTimer(nullptr, 0, kCloseMenuMs, CloseMenu);
    main_.ReShowMenu();
    ::KillTimer(nullptr, timer);
    forms_->application.ProcessMessages();
    forms_->state.cycle = app::CycleState::kStarting;
  }

  // The figures, read once the program's workers are idle and what they handed over is taken:
  // a worker looking for an icon holds its file and memory for a while.
  Readings MeasureQuiet() {
    forms_->application.ProcessMessages();  // lets the icon jobs waiting for the loop go
    // First the icon jobs end, as the background meeting comes after them; then every thread
    // is held at once by normal jobs.
    const bool icons_done =
        meeting_
            .Hold(forms_->system.workers, platform::ThreadWorkers::kBackgroundJobThreads,
                  kQuietLimit, platform::JobPriority::kBackground)
            .has_value();
    EXPECT_TRUE(icons_done) << "the icon jobs ended";
    const auto workers =
        meeting_.Hold(forms_->system.workers, platform::ThreadWorkers::kStartedJobThreads,
                      kQuietLimit, platform::JobPriority::kNormal);
    EXPECT_TRUE(workers.has_value()) << "the workers came to rest";
    if (workers) workers_ = *workers;
    forms_->application.ProcessMessages();
    return win32_test::Measure();
  }

  // The menu popped up, "All Programs" opened with its icons, then closed.
  void OpenAllProgramsAndClose() {
    open_ticks = 0;
    menu_owner = reinterpret_cast<HWND>(forms_->application.PopupList().Window());
    const UINT_PTR timer = ::SetTimer(nullptr, 0, kCloseMenuMs, OpenAllProgramsThenClose);
    main_.ReShowMenu();
    ::KillTimer(nullptr, timer);
    forms_->application.ProcessMessages();
    forms_->state.cycle = app::CycleState::kStarting;
  }

  const std::wstring prefix_ = win32_test::UniqueName(L"tapwise-growth");
  // Let go in TearDown, so that the test can wait for its workers to end.
  std::unique_ptr<win32_test::ProgramForms> forms_ = std::make_unique<win32_test::ProgramForms>();
  app::MainForm& main_ = forms_->main;
  app::OptionsDialog& dialog_ = forms_->dialog;
  win32_test::WorkerMeeting meeting_;
  std::vector<DWORD> workers_;  // the threads of the forms' background jobs
};

TEST_F(GrowthTest, RebuildsAndPopupsLeaveNothingBehind) {
  for (int i = 0; i < kWarmUp; ++i) {
    OptionsOk();
    PopupAndClose();
    OpenAllProgramsAndClose();
  }
  ASSERT_GE(main_.CurrentCatalogue().programs.size(), static_cast<std::size_t>(kEntries))
      << "OK rebuilt the lists";
  // Each phase counts from a start taken after a few of its own cycles: what one kind of cycle
  // keeps until the next of its kind (the last submenu opened, say) is then on both sides.
  const struct {
    const char* name;
    std::function<void()> cycle;
  } phases[] = {
      {"rebuilds", [this] { OptionsOk(); }},
      {"pop-ups", [this] { PopupAndClose(); }},
      {"openings of \"All Programs\"", [this] { OpenAllProgramsAndClose(); }},
  };
  for (const auto& phase : phases) {
    for (int i = 0; i < kPhaseWarmUp; ++i) phase.cycle();
    const Readings start = MeasureQuiet();
    for (int i = 0; i < kCycles; ++i) phase.cycle();
    const Readings end = MeasureQuiet();
    Print(phase.name, start, end);
    ExpectBack(start, end, phase.name);
  }
  EXPECT_GE(menu_closings, kWarmUp + kCycles) << "every pop-up is up until it is closed";
  EXPECT_GE(submenus_seen, kWarmUp + kCycles) << "every opening showed the submenu";
  EXPECT_GT(main_.Icons().Images().IconCount(), 0u) << "the submenu's items had their icons";
}

// Each witness sees a handful more of its kind, well above what the growth test lets pass: a
// leak could not pass it by unseen.
struct WitnessCase {
  const char* figure;
  SIZE_T each;                                  // what one thing adds to the figure, at least
  std::function<std::function<void()>()> make;  // makes one thing; returns how to free it
};

const WitnessCase kWitnesses[] = {
    {"kernel handles counted", 1,
     [] {
       const HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
       return std::function<void()>([event] { ::CloseHandle(event); });
     }},
    {"menus counted", 1,
     [] {
       const HMENU menu = ::CreatePopupMenu();
       return std::function<void()>([menu] { ::DestroyMenu(menu); });
     }},
    {"windows counted", 1,
     [] {
       const HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                             nullptr, nullptr, nullptr);
       return std::function<void()>([window] { ::DestroyWindow(window); });
     }},
    {"GDI objects counted", 1,
     [] {
       const HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
       return std::function<void()>([brush] { ::DeleteObject(brush); });
     }},
    {"private bytes counted", kWitnessRegionBytes,
     [] {
       void* pages = ::VirtualAlloc(nullptr, kWitnessRegionBytes, MEM_COMMIT, PAGE_READWRITE);
       return std::function<void()>([pages] { ::VirtualFree(pages, 0, MEM_RELEASE); });
     }},
    {"heap bytes counted", kWitnessBlockBytes,
     [] {
       auto* block = new std::vector<char>(kWitnessBlockBytes, 'x');
       return std::function<void()>([block] { delete block; });
     }},
};

TEST(GrowthWitnessTest, EachWitnessSeesAHandfulMoreOfItsKind) {
  for (const WitnessCase& row : kWitnesses) {
    SCOPED_TRACE(row.figure);
    const Figure& figure = win32_test::FigureNamed(row.figure);
    // Half of what is made, so that a few objects of the process's own that come or go
    // meanwhile change nothing, and still far above what the growth test lets pass.
    const SIZE_T rise = row.each * kWitnessThings / 2;
    ASSERT_GT(rise, 2 * figure.allowance);
    std::vector<std::function<void()>> frees;
    frees.reserve(kWitnessThings);
    const SIZE_T before = figure.read();
    for (int i = 0; i < kWitnessThings; ++i) frees.push_back(row.make());
    const SIZE_T with_them = figure.read();
    for (const std::function<void()>& free_it : frees) free_it();
    EXPECT_GE(with_them, before + rise);
  }
}

}  // namespace
