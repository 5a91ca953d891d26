#include "platform/win32/dll_search.h"

#include <windows.h>

#include "platform/win32/lookup.h"

namespace win32 {
namespace {

// Not declared for Windows 7 headers, and absent from a Windows 7 without its loader update:
// looked up in kernel32 at run time.
using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

}  // namespace

bool LoadLibrariesFromSystemOnly() {
  const auto set_default = LookUp<SetDefaultDllDirectoriesFunction>(
      ::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  return set_default != nullptr && set_default(kSearchSystem32) != FALSE;
}

}  // namespace win32
