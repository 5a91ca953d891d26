#include "process_figures.h"

// after windows.h, which it needs
#include <psapi.h>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace win32_test {
namespace {

constexpr DWORD kHandleSlots = 0x10000;  // USER and GDI handles keep their slot in the low word
constexpr DWORD kHandleStep = 4;         // kernel handle values are multiples of 4
constexpr DWORD kKernelHandleValues = 0x4000;
constexpr DWORD kMostHeaps = 64;
constexpr SIZE_T kObjectAllowance = 2;
constexpr SIZE_T kPageAllowance = 256 * 1024;
constexpr SIZE_T kHeapAllowance = 4 * 1024;

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

}  // namespace

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

Readings Measure() {
  Readings readings{};
  for (std::size_t i = 0; i < kFigureCount; ++i) readings[i] = kFigures[i].read();
  return readings;
}

const Figure& FigureNamed(std::string_view label) {
  for (const Figure& figure : kFigures) {
    if (figure.label == label) return figure;
  }
  throw std::invalid_argument(std::string(label));
}

}  // namespace win32_test
