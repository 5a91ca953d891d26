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

// The functions as found in kernel32.dll, process-wide. Everything runs on the GUI thread, so
// there is no locking.
struct ToolhelpBinding {
  HMODULE kernel = nullptr;
  CreateSnapshotFn create = nullptr;
  WalkFn first = nullptr;
  WalkFn next = nullptr;

  bool Holds() const { return kernel != nullptr && create != nullptr; }
};

// Looks kernel32.dll up (never loading it) until it is found, and the functions once it is.
const ToolhelpBinding& Binding() {
  static ToolhelpBinding binding;
  if (binding.kernel != nullptr) return binding;
  binding.kernel = ::GetModuleHandleW(L"kernel32.dll");
  if (binding.kernel == nullptr) return binding;
  binding.create = LookUp<CreateSnapshotFn>(binding.kernel, "CreateToolhelp32Snapshot");
  binding.first = LookUp<WalkFn>(binding.kernel, "Process32FirstW");
  binding.next = LookUp<WalkFn>(binding.kernel, "Process32NextW");
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
  const ToolhelpBinding& binding = Binding();
  if (!binding.Holds()) return 0;
  const HANDLE snapshot = binding.create(flags, process_id);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  return reinterpret_cast<platform::SnapshotHandle>(snapshot);
}

bool ProcessSnapshots::First(platform::SnapshotHandle snapshot, std::string& exe_name) {
  const ToolhelpBinding& binding = Binding();
  return binding.Holds() && Walk(binding.first, snapshot, exe_name);
}

bool ProcessSnapshots::Next(platform::SnapshotHandle snapshot, std::string& exe_name) {
  const ToolhelpBinding& binding = Binding();
  return binding.Holds() && Walk(binding.next, snapshot, exe_name);
}

void ProcessSnapshots::Close(platform::SnapshotHandle snapshot) {
  if (snapshot != 0) ::CloseHandle(ToHandle(snapshot));
}

}  // namespace win32
