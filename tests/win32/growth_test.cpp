// Nothing grows: rebuilding the program menus the way the options dialog's OK does, popping
// the menu up and closing it, and opening "All Programs" with its icons, each 200 times in one
// process over the real platform, leave the process's handles, USER and GDI objects and private
// memory where they were.

#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which they need
#include <psapi.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "framework/popup_list.h"
#include "platform/win32/handles.h"
#include "program_forms.h"
#include "test_support.h"

namespace {

constexpr int kCycles = 200;
constexpr int kWarmUp = 20;
constexpr int kEntries = 40;
constexpr UINT kCloseMenuMs = 10;
constexpr DWORD kHandleSlots = 0x10000;  // USER and GDI handles keep their slot in the low word
constexpr DWORD kHandleStep = 4;         // kernel handle values are multiples of 4
constexpr DWORD kKernelHandleValues = 0x4000;
constexpr DWORD kMostHeaps = 64;
constexpr SIZE_T kObjectAllowance = 2;
constexpr SIZE_T kPageAllowance = 256 * 1024;
constexpr SIZE_T kHeapAllowance = 4 * 1024;
constexpr SIZE_T kWitnessBytes = 64 * 1024;
constexpr wchar_t kUninstall[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// What the system reports. Wine 8 answers 0 for every one of them: GetProcessHandleCount and
// GetGuiResources are stubs there, and its memory counters leave PrivateUsage at 0.
SIZE_T ReportedHandles() {
  DWORD count = 0;
  ::GetProcessHandleCount(::GetCurrentProcess(), &count);
  return count;
}

SIZE_T ReportedUserObjects() {
  return ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
}

SIZE_T ReportedGdiObjects() {
  return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
}

SIZE_T ReportedPrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof(memory));
  return memory.PrivateUsage;
}

// Witnesses counted from outside those counters.

SIZE_T LiveKernelHandles() {
  SIZE_T live = 0;
  for (DWORD value = kHandleStep; value <= kKernelHandleValues; value += kHandleStep) {
    DWORD flags = 0;
    if (::GetHandleInformation(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(value)), &flags)) {
      ++live;
    }
  }
  return live;
}

// A USER or GDI handle whose high word is zero stands for its slot's object, whatever the
// object's generation, so probing every slot finds each live object once.
template <typename Probe>
SIZE_T LiveSlots(Probe probe) {
  SIZE_T live = 0;
  for (DWORD slot = 1; slot < kHandleSlots; ++slot) {
    if (probe(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(slot)))) ++live;
  }
  return live;
}

SIZE_T LiveMenus() {
  return LiveSlots([](HANDLE h) { return ::IsMenu(static_cast<HMENU>(h)) != FALSE; });
}

SIZE_T LiveGdiObjects() {
  return LiveSlots([](HANDLE h) { return ::GetObjectType(h) != 0; });
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<SIZE_T*>(count);
  ::EnumChildWindows(window, CountWindow, count);
  return TRUE;
}

// This thread's top-level windows, with every window below them.
SIZE_T OwnWindows() {
  SIZE_T count = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

// What PrivateUsage means: the committed pages that belong to this process alone.
SIZE_T PrivateCommitted() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (const char* at = nullptr; ::VirtualQuery(at, &region, sizeof(region)) == sizeof(region);
       at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
  }
  return total;
}

// Finer than pages: the bytes handed out by every heap of the process, the C runtime's too.
SIZE_T HeapBusy() {
  HANDLE heaps[kMostHeaps];
  const DWORD count = std::min<DWORD>(::GetProcessHeaps(kMostHeaps, heaps), kMostHeaps);
  SIZE_T total = 0;
  for (DWORD i = 0; i < count; ++i) {
    if (!::HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (::HeapWalk(heaps[i], &entry)) {
      if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) total += entry.cbData;
    }
    ::HeapUnlock(heaps[i]);
  }
  return total;
}

struct Figure {
  const char* label;
  SIZE_T (*read)();
  SIZE_T allowance;  // how far it may end above its start
};

const Figure kFigures[] = {
    {"handles reported", ReportedHandles, kObjectAllowance},
    {"USER objects reported", ReportedUserObjects, kObjectAllowance},
    {"GDI objects reported", ReportedGdiObjects, kObjectAllowance},
    {"private bytes reported", ReportedPrivateBytes, kPageAllowance},
    {"kernel handles counted", LiveKernelHandles, kObjectAllowance},
    {"menus counted", LiveMenus, kObjectAllowance},
    {"windows counted", OwnWindows, kObjectAllowance},
    {"GDI objects counted", LiveGdiObjects, kObjectAllowance},
    {"private bytes counted", PrivateCommitted, kPageAllowance},
    {"heap bytes counted", HeapBusy, kHeapAllowance},
};
constexpr std::size_t kFigureCount = std::size(kFigures);
using Readings = std::array<SIZE_T, kFigureCount>;

Readings Measure() {
  Readings readings{};
  for (std::size_t i = 0; i < kFigureCount; ++i) readings[i] = kFigures[i].read();
  return readings;
}

std::size_t FigureIndex(std::string_view label) {
  for (std::size_t i = 0; i < kFigureCount; ++i) {
    if (kFigures[i].label == label) return i;
  }
  throw std::invalid_argument(std::string(label));
}

// The figures of a run, one line each, for the record.
void Print(const Readings& start, const Readings& rebuilt, const Readings& popped,
           const Readings& opened) {
  std::printf("%-24s %12s %12s %12s %12s\n", "", "start", "200 rebuilds", "200 pop-ups",
              "200 openings");
  for (std::size_t i = 0; i < kFigureCount; ++i) {
    std::printf("%-24s %12lu %12lu %12lu %12lu\n", kFigures[i].label,
                static_cast<unsigned long>(start[i]), static_cast<unsigned long>(rebuilt[i]),
                static_cast<unsigned long>(popped[i]), static_cast<unsigned long>(opened[i]));
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

  // The options dialog shown, its OK clicked: the program submenus are built again.
  void OptionsOk() {
    ::PostMessageW(reinterpret_cast<HWND>(dialog_.ok_button.Handle()), BM_CLICK, 0, 0);
    dialog_.ShowModal();
  }

  // The menu popped up where the dialog and the About box pop it up again, then closed.
  void PopupAndClose() {
    const UINT_PTR timer = ::SetTimer(nullptr, 0, kCloseMenuMs, CloseMenu);
    main_.ReShowMenu();
    ::KillTimer(nullptr, timer);
    forms_.application.ProcessMessages();
    forms_.state.cycle = app::CycleState::kStarting;
  }

  // The menu popped up, "All Programs" opened with its icons, then closed.
  void OpenAllProgramsAndClose() {
    open_ticks = 0;
    menu_owner = reinterpret_cast<HWND>(forms_.application.PopupList().Window());
    const UINT_PTR timer = ::SetTimer(nullptr, 0, kCloseMenuMs, OpenAllProgramsThenClose);
    main_.ReShowMenu();
    ::KillTimer(nullptr, timer);
    forms_.application.ProcessMessages();
    forms_.state.cycle = app::CycleState::kStarting;
  }

  const std::wstring prefix_ = win32_test::UniqueName(L"tapwise-growth");
  win32_test::ProgramForms forms_;
  app::MainForm& main_ = forms_.main;
  app::OptionsDialog& dialog_ = forms_.dialog;
};

TEST_F(GrowthTest, RebuildsAndPopupsLeaveNothingBehind) {
  for (int i = 0; i < kWarmUp; ++i) {
    OptionsOk();
    PopupAndClose();
    OpenAllProgramsAndClose();
  }
  ASSERT_GE(main_.CurrentCatalogue().programs.size(), static_cast<std::size_t>(kEntries))
      << "OK rebuilt the lists";
  const Readings start = Measure();
  for (int i = 0; i < kCycles; ++i) OptionsOk();
  const Readings rebuilt = Measure();
  for (int i = 0; i < kCycles; ++i) PopupAndClose();
  const Readings popped = Measure();
  for (int i = 0; i < kCycles; ++i) OpenAllProgramsAndClose();
  const Readings opened = Measure();
  EXPECT_GE(menu_closings, kWarmUp + kCycles) << "every pop-up is up until it is closed";
  EXPECT_GE(submenus_seen, kWarmUp + kCycles) << "every opening showed the submenu";
  EXPECT_GT(main_.Icons().Images().IconCount(), 0u) << "the submenu's items had their icons";
  Print(start, rebuilt, popped, opened);
  ExpectBack(start, rebuilt, "the rebuilds");
  ExpectBack(start, popped, "the pop-ups");
  ExpectBack(start, opened, "the openings of \"All Programs\"");
}

// Each witness sees one more of its kind: a leak could not pass it by unseen.
struct WitnessCase {
  const char* figure;
  SIZE_T at_least;
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
    {"private bytes counted", kWitnessBytes * 8,
     [] {
       void* pages = ::VirtualAlloc(nullptr, kWitnessBytes * 8, MEM_COMMIT, PAGE_READWRITE);
       return std::function<void()>([pages] { ::VirtualFree(pages, 0, MEM_RELEASE); });
     }},
    {"heap bytes counted", kWitnessBytes,
     [] {
       auto* block = new std::vector<char>(kWitnessBytes, 'x');
       return std::function<void()>([block] { delete block; });
     }},
};

TEST(GrowthWitnessTest, EachWitnessSeesOneMoreOfItsKind) {
  for (const WitnessCase& row : kWitnesses) {
    SCOPED_TRACE(row.figure);
    const std::size_t index = FigureIndex(row.figure);
    const SIZE_T before = kFigures[index].read();
    const std::function<void()> free_it = row.make();
    const SIZE_T with_one = kFigures[index].read();
    free_it();
    EXPECT_GE(with_one, before + row.at_least);
  }
}

}  // namespace
