#pragma once

// Functions found by name at run time, for those that older systems lack.

#include <windows.h>

namespace win32 {

// The function of that name in an already loaded module, or null. GetProcAddress gives a
// generic function pointer; going through void(*)() keeps the compiler from warning about the
// cast to the real signature.
template <typename Fn>
Fn LookUp(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace win32
