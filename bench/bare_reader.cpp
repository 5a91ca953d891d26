// The least work that puts every uninstall entry's name into one popup menu: the yardstick for
// the program's time to menu. No framework, no sorting, no filters: the same keys the program
// reads, three values of each entry, then one popup menu of every name at the cursor.
//
// Usage: bare_reader [THREADS]
//   THREADS  how many threads read each pass, each a range of its subkeys (default 1)
//
// The passes are the program's: HKLM default view, HKLM 64-bit view when running under WOW64,
// HKCU. The menu closes with Escape (or a choice), and the program ends with it.

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/handles.h"

namespace {

using UniqueKey = platform::UniqueHandle<win32::HandleTraits<HKEY, ::RegCloseKey>>;
using UniqueMenu = platform::UniqueHandle<win32::HandleTraits<HMENU, ::DestroyMenu>>;

constexpr wchar_t kUninstall[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const wchar_t* kReadValues[] = {L"DisplayName", L"UninstallString", L"InstallDate"};
constexpr DWORD kValueBuffer = 512;  // bytes; typical values fit
constexpr DWORD kNameBuffer = 256;   // the registry's longest key name, and its end
constexpr wchar_t kClassName[] = L"TapwiseBareReader";

struct Pass {
  HKEY root;
  REGSAM view;
};

bool UnderWow64() {
  BOOL wow64 = FALSE;
  return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

std::vector<Pass> Passes() {
  std::vector<Pass> passes{{HKEY_LOCAL_MACHINE, 0}};
  if (UnderWow64()) passes.push_back({HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY});
  passes.push_back({HKEY_CURRENT_USER, 0});
  return passes;
}

// Reads subkeys [first, last) of the open uninstall key; the display names land in names.
void ReadRange(HKEY uninstall, REGSAM view, DWORD first, DWORD last,
               std::vector<std::wstring>& names) {
  for (DWORD index = first; index < last; ++index) {
    wchar_t subkey[kNameBuffer];
    DWORD length = kNameBuffer;
    if (::RegEnumKeyExW(uninstall, index, subkey, &length, nullptr, nullptr, nullptr, nullptr)) {
      continue;
    }
    UniqueKey entry;
    if (::RegOpenKeyExW(uninstall, subkey, 0, KEY_READ | view, entry.put())) continue;
    for (const wchar_t* value : kReadValues) {
      BYTE data[kValueBuffer];
      DWORD size = sizeof data - sizeof(wchar_t);
      DWORD type = REG_NONE;
      if (::RegQueryValueExW(entry.get(), value, nullptr, &type, data, &size)) continue;
      if (value == kReadValues[0] && type == REG_SZ) {
        data[size] = data[size + 1] = 0;
        names.emplace_back(reinterpret_cast<const wchar_t*>(data));
      }
    }
  }
}

void ReadPass(const Pass& pass, unsigned threads, std::vector<std::wstring>& names) {
  UniqueKey uninstall;
  if (::RegOpenKeyExW(pass.root, kUninstall, 0, KEY_READ | pass.view, uninstall.put())) return;
  DWORD count = 0;
  ::RegQueryInfoKeyW(uninstall.get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr, nullptr);
  if (threads == 1) return ReadRange(uninstall.get(), pass.view, 0, count, names);
  std::vector<std::vector<std::wstring>> parts(threads);
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < threads; ++t) {
    const DWORD first = count * t / threads;
    const DWORD last = count * (t + 1) / threads;
    workers.emplace_back(ReadRange, uninstall.get(), pass.view, first, last, std::ref(parts[t]));
  }
  for (std::thread& worker : workers) worker.join();
  for (auto& part : parts) names.insert(names.end(), part.begin(), part.end());
}

std::vector<std::wstring> ReadCatalogue(unsigned threads) {
  const std::vector<Pass> passes = Passes();
  std::vector<std::vector<std::wstring>> names(passes.size());
  std::vector<std::thread> readers;
  for (std::size_t p = 0; p < passes.size(); ++p) {
    readers.emplace_back(ReadPass, passes[p], threads, std::ref(names[p]));
  }
  for (std::thread& reader : readers) reader.join();
  std::vector<std::wstring> all;
  for (auto& pass : names) all.insert(all.end(), pass.begin(), pass.end());
  return all;
}

win32::UniqueWindow MakeOwner(HINSTANCE instance) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = ::DefWindowProcW;
  window_class.hInstance = instance;
  window_class.lpszClassName = kClassName;
  ::RegisterClassW(&window_class);
  return win32::UniqueWindow(::CreateWindowExW(0, kClassName, L"bare reader", WS_POPUP, 0, 0, 0, 0,
                                               nullptr, nullptr, instance, nullptr));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  const unsigned threads = std::max(1, _wtoi(command_line));
  // With one thread per pass the passes still run one after another, as a plain loop would.
  std::vector<std::wstring> names;
  if (threads == 1) {
    for (const Pass& pass : Passes()) ReadPass(pass, 1, names);
  } else {
    names = ReadCatalogue(threads);
  }
  const UniqueMenu menu(::CreatePopupMenu());
  UINT id = 1;
  for (const std::wstring& name : names) ::AppendMenuW(menu.get(), MF_STRING, id++, name.c_str());
  const win32::UniqueWindow owner = MakeOwner(instance);
  POINT point{};
  ::GetCursorPos(&point);
  ::SetForegroundWindow(owner.get());
  ::TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, owner.get(),
                   nullptr);
  return 0;
}
