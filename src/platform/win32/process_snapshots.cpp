#include "platform/win32/process_snapshots.h"

#include <windows.h>
// tlhelp32.h needs the definitions of windows.h first.
#include <tlhelp32.h>

#include <cwchar>

#include "platform/win32/lookup.h"
#include "platform/win32/utf.h"

namespace win32 {
namespace {

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

}  // namespace win32
