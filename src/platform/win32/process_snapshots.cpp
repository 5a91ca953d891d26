#include "platform/win32/process_snapshots.h"

#include <windows.h>
// tlhelp32.h needs the definitions of windows.h first.
#include <tlhelp32.h>

#include <cwchar>

#include "platform/win32/handles.h"
#include "platform/win32/lookup.h"
#include "platform/win32/utf.h"

namespace win32 {
namespace {

constexpr DWORD kLongestPath = 32768;  // in characters, with the "\\?\" form's room

using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using WalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32W*);

// The functions as found in kernel32.dll, process-wide.
struct ToolhelpBinding {
  CreateSnapshotFn create = nullptr;
  WalkFn first = nullptr;
  WalkFn next = nullptr;
};

// Looked up once, at first use, whichever thread that is: kernel32.dll is in every process from
// its start, so it is found, never loaded. Read-only from then on, so threads share it freely.
const ToolhelpBinding& Binding() {
  static const ToolhelpBinding binding = [] {
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    return ToolhelpBinding{LookUp<CreateSnapshotFn>(kernel, "CreateToolhelp32Snapshot"),
                           LookUp<WalkFn>(kernel, "Process32FirstW"),
                           LookUp<WalkFn>(kernel, "Process32NextW")};
  }();
  return binding;
}

HANDLE ToHandle(platform::SnapshotHandle snapshot) {
  return reinterpret_cast<HANDLE>(snapshot);
}

bool Walk(WalkFn walk, platform::SnapshotHandle snapshot, std::string& exe_name) {
  if (walk == nullptr) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  if (!walk(ToHandle(snapshot), &entry)) return false;
  const std::size_t length = ::wcsnlen(entry.szExeFile, MAX_PATH);
  exe_name = WideToUtf8(std::wstring_view(entry.szExeFile, length));
  return true;
}

// The image path of one process; empty when it cannot be opened to ask (a protected one).
std::wstring ImageOf(DWORD process_id) {
  const UniqueKernelHandle process(
      ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
  if (!process) return {};
  std::wstring path(kLongestPath, L'\0');
  DWORD length = kLongestPath;
  if (!::QueryFullProcessImageNameW(process.get(), 0, path.data(), &length)) return {};
  path.resize(length);
  return path;
}

}  // namespace

platform::SnapshotHandle ProcessSnapshots::CreateSnapshot(std::uint32_t flags,
                                                          std::uint32_t process_id) {
  const CreateSnapshotFn create = Binding().create;
  if (create == nullptr) return platform::kNoSnapshot;
  const HANDLE snapshot = create(flags, process_id);
  if (snapshot == INVALID_HANDLE_VALUE) return platform::kNoSnapshot;
  return reinterpret_cast<platform::SnapshotHandle>(snapshot);
}

bool ProcessSnapshots::First(platform::SnapshotHandle snapshot, std::string& exe_name) {
  return Walk(Binding().first, snapshot, exe_name);
}

bool ProcessSnapshots::Next(platform::SnapshotHandle snapshot, std::string& exe_name) {
  return Walk(Binding().next, snapshot, exe_name);
}

void ProcessSnapshots::Close(platform::SnapshotHandle snapshot) {
  if (snapshot != platform::kNoSnapshot) ::CloseHandle(ToHandle(snapshot));
}

std::string ProcessSnapshots::ImagePathOf(const std::string& exe_name) {
  const ToolhelpBinding& functions = Binding();
  if (functions.create == nullptr || functions.first == nullptr || functions.next == nullptr) {
    return {};
  }
  const UniqueFileHandle snapshot(functions.create(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return {};
  const std::wstring wanted = Utf8ToWide(exe_name);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL read = functions.first(snapshot.get(), &entry); read;
       read = functions.next(snapshot.get(), &entry)) {
    const std::size_t length = ::wcsnlen(entry.szExeFile, MAX_PATH);
    // The first process of the name counts, even when it will not tell its image.
    if (std::wstring_view(entry.szExeFile, length) == wanted) {
      return WideToUtf8(ImageOf(entry.th32ProcessID));
    }
  }
  return {};
}

}  // namespace win32
