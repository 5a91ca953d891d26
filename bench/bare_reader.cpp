// The least work that lists every uninstall entry and puts a menu up: the yardstick for the
// program's time to menu. No framework, no sorting, no filling: the keys the program reads, and
// of each entry only the values and file lookups the list itself needs, then a popup menu of a
// few items whose submenus stay empty, as the program's do until they open.
//
// Usage: bare_reader [THREADS | budget]
//   THREADS  how many threads read at once, each key split into as many ranges (default 1: the
//            passes one after another on the main thread)
//   budget   the program's own budget
//
// The passes are the program's: HKLM default view, HKLM 64-bit view when running under WOW64,
// HKCU. The menu closes with Escape (or a choice), and the program ends with it.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/catalogue/scan_budget.h"
#include "platform/win32/handles.h"

namespace {

using UniqueKey = platform::UniqueHandle<win32::HandleTraits<HKEY, ::RegCloseKey>>;
using UniqueMenu = platform::UniqueHandle<win32::HandleTraits<HMENU, ::DestroyMenu>>;

constexpr wchar_t kUninstall[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr DWORD kValueBuffer = 4096;  // bytes: the program's first read
constexpr DWORD kNameBuffer = 256;    // the registry's longest key name, and its end
constexpr wchar_t kClassName[] = L"TapwiseBareReader";
constexpr std::size_t kDateLength = 8;
constexpr const wchar_t* kUpdateReleases[] = {L"Hotfix", L"Security Update", L"Update Rollup",
                                              L"Update", L"Service Pack"};

struct Pass {
  HKEY root;
  REGSAM view;
};

// Subkeys [first, last) of one pass.
struct Range {
  Pass pass;
  DWORD first;
  DWORD last;
};

// What the list keeps of an entry.
struct Listed {
  std::wstring name;
  std::wstring command;
  std::wstring date;
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

struct Value {
  DWORD type = REG_NONE;
  std::wstring text;
  DWORD number = 0;
};

std::optional<Value> Read(HKEY key, const wchar_t* name) {
  BYTE data[kValueBuffer + sizeof(wchar_t)];
  DWORD size = kValueBuffer;
  Value value;
  if (::RegQueryValueExW(key, name, nullptr, &value.type, data, &size)) return std::nullopt;
  if (value.type == REG_DWORD && size == sizeof(DWORD)) std::memcpy(&value.number, data, size);
  if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) {
    data[size] = data[size + 1] = 0;
    value.text = reinterpret_cast<const wchar_t*>(data);
  }
  return value;
}

std::wstring Text(HKEY key, const wchar_t* name) {
  const auto value = Read(key, name);
  return value ? value->text : std::wstring();
}

bool NonZero(HKEY key, const wchar_t* name) {
  const auto value = Read(key, name);
  return value && value->number != 0;
}

// The same lookup the program dates a file by: the first directory entry matching the path.
std::optional<std::wstring> FileDate(const std::wstring& path) {
  if (path.empty() || path.find_first_of(L"*?") != std::wstring::npos) return std::nullopt;
  WIN32_FIND_DATAW entry{};
  const win32::UniqueFindHandle search(::FindFirstFileW(path.c_str(), &entry));
  if (!search) return std::nullopt;
  if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  FILETIME local{};
  SYSTEMTIME fields{};
  if (!::FileTimeToLocalFileTime(&entry.ftLastWriteTime, &local) ||
      !::FileTimeToSystemTime(&local, &fields)) {
    return std::nullopt;
  }
  wchar_t date[16];
  std::swprintf(date, 16, L"%04u%02u%02u", fields.wYear, fields.wMonth, fields.wDay);
  return date;
}

// The uninstaller's file, up to its first ".EXE", unless it is msiexec or rundll32.
std::wstring CommandFile(std::wstring command) {
  for (wchar_t& c : command) c = static_cast<wchar_t>(std::towupper(c));
  const std::size_t at = command.find(L".EXE");
  std::wstring path = command.substr(0, at == std::wstring::npos ? 3 : at + 4);
  if (!path.empty() && path.front() == L'"') path.erase(0, 1);
  if (path == L"MSIEXEC.EXE" || path == L"RUNDLL32.EXE") return {};
  return path;
}

std::wstring InstallDate(HKEY entry, const std::wstring& uninstall_string) {
  if (const auto date = Read(entry, L"InstallDate")) {
    return date->text.size() == kDateLength ? date->text : std::wstring();
  }
  if (const auto date = FileDate(CommandFile(uninstall_string))) return *date;
  const std::wstring icon = Text(entry, L"DisplayIcon");
  return FileDate(icon.substr(0, icon.find(L','))).value_or(L"");
}

// The entry's line, unless a rule leaves it out; each value read only once a rule needs it.
std::optional<Listed> ReadEntry(HKEY entry, const std::wstring& key_name) {
  Listed listed;
  listed.name = Text(entry, L"DisplayName");
  if (listed.name.empty() || NonZero(entry, L"NoRemove")) return std::nullopt;
  if (NonZero(entry, L"SystemComponent") || !Text(entry, L"ParentKeyName").empty()) {
    return std::nullopt;
  }
  const std::wstring release = Text(entry, L"ReleaseType");
  for (const wchar_t* update : kUpdateReleases) {
    if (_wcsicmp(release.c_str(), update) == 0) return std::nullopt;
  }
  const std::wstring uninstall_string = Text(entry, L"UninstallString");
  listed.command =
      uninstall_string.empty() ? Text(entry, L"QuietUninstallString") : uninstall_string;
  if (listed.command.empty() &&
      !(!key_name.empty() && key_name.front() == L'{' && NonZero(entry, L"WindowsInstaller"))) {
    return std::nullopt;
  }
  listed.date = InstallDate(entry, uninstall_string);
  return listed;
}

void ReadRange(const Range& range, std::vector<Listed>& found) {
  UniqueKey uninstall;
  const REGSAM access = KEY_READ | range.pass.view;
  if (::RegOpenKeyExW(range.pass.root, kUninstall, 0, access, uninstall.put())) return;
  for (DWORD index = range.first; index < range.last; ++index) {
    wchar_t subkey[kNameBuffer];
    DWORD length = kNameBuffer;
    if (::RegEnumKeyExW(uninstall.get(), index, subkey, &length, nullptr, nullptr, nullptr,
                        nullptr)) {
      continue;
    }
    UniqueKey entry;
    if (::RegOpenKeyExW(uninstall.get(), subkey, 0, access, entry.put())) continue;
    if (auto listed = ReadEntry(entry.get(), subkey)) found.push_back(std::move(*listed));
  }
}

DWORD SubkeyCount(const Pass& pass) {
  UniqueKey uninstall;
  if (::RegOpenKeyExW(pass.root, kUninstall, 0, KEY_READ | pass.view, uninstall.put())) return 0;
  DWORD count = 0;
  ::RegQueryInfoKeyW(uninstall.get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr, nullptr);
  return count;
}

// Every pass's ranges on budget.threads threads at once, largest first, as the program runs them.
std::vector<Listed> ReadCatalogue(const app::ScanBudget& budget) {
  std::vector<Range> ranges;
  for (const Pass& pass : Passes()) {
    const DWORD count = SubkeyCount(pass);
    const std::size_t pieces = app::RangesPerPass(count, budget);
    for (std::size_t piece = 0; count > 0 && piece < pieces; ++piece) {
      ranges.push_back(Range{pass, static_cast<DWORD>(count * piece / pieces),
                             static_cast<DWORD>(count * (piece + 1) / pieces)});
    }
  }
  std::stable_sort(ranges.begin(), ranges.end(), [](const Range& a, const Range& b) {
    return a.last - a.first > b.last - b.first;
  });
  std::vector<std::vector<Listed>> found(ranges.size());
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i = next++; i < ranges.size(); i = next++) ReadRange(ranges[i], found[i]);
  };
  std::vector<std::thread> helpers;
  for (unsigned t = 1; t < budget.threads; ++t) helpers.emplace_back(work);
  work();
  for (std::thread& helper : helpers) helper.join();
  std::vector<Listed> all;
  for (auto& part : found) std::move(part.begin(), part.end(), std::back_inserter(all));
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

app::ScanBudget BudgetFrom(const wchar_t* argument) {
  if (std::wcscmp(argument, L"budget") == 0) return app::kScanBudget;
  const unsigned threads = static_cast<unsigned>(std::max(1, _wtoi(argument)));
  return app::ScanBudget{threads, threads};
}

// The program's menu before any submenu opens: its items, the program lists' submenus empty.
UniqueMenu TopMenu(std::size_t listed) {
  UniqueMenu top(::CreatePopupMenu());
  for (const wchar_t* caption : {L"All Programs", L"Recent", L"Kill Process"}) {
    ::AppendMenuW(top.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), caption);
  }
  ::AppendMenuW(top.get(), MF_SEPARATOR, 0, nullptr);
  const std::wstring count = std::to_wstring(listed) + L" listed";
  ::AppendMenuW(top.get(), MF_STRING | MF_GRAYED, 1, count.c_str());
  ::AppendMenuW(top.get(), MF_STRING, 2, L"Exit");
  return top;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  const std::vector<Listed> listed = ReadCatalogue(BudgetFrom(command_line));
  const UniqueMenu menu = TopMenu(listed.size());
  const win32::UniqueWindow owner = MakeOwner(instance);
  POINT point{};
  ::GetCursorPos(&point);
  ::SetForegroundWindow(owner.get());
  ::TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, owner.get(),
                   nullptr);
  return 0;
}
