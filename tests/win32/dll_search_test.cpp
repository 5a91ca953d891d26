// Libraries loaded by name come from the system directory only once the search is restricted.

#include "platform/win32/dll_search.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "test_support.h"

namespace {

constexpr wchar_t kBesideTests[] = L"win32_test_library.dll";
constexpr DWORD kDefaultSearch = 0x00001000;         // LOAD_LIBRARY_SEARCH_DEFAULT_DIRS
constexpr DWORD kApplicationDirectory = 0x00000200;  // LOAD_LIBRARY_SEARCH_APPLICATION_DIR

// Whether a load by bare name with the given flags finds the library; unloads it again.
bool Loads(DWORD flags) {
  const HMODULE module = ::LoadLibraryExW(kBesideTests, nullptr, flags);
  if (module == nullptr) return false;
  ::FreeLibrary(module);
  return true;
}

TEST(DllSearchTest, ALibraryBesideTheProgramIsNoLongerFoundByName) {
  ASSERT_TRUE(Loads(0)) << "the library must lie beside the tests";
  ASSERT_TRUE(win32::LoadLibrariesFromSystemOnly());
  EXPECT_FALSE(Loads(0));
  EXPECT_TRUE(Loads(kApplicationDirectory)) << "it is still there when asked for";
  // The other tests run with the system's usual search.
  using SetDefault = BOOL(WINAPI*)(DWORD);
  const auto set_default = reinterpret_cast<SetDefault>(reinterpret_cast<void (*)()>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  ASSERT_NE(set_default, nullptr);
  set_default(kDefaultSearch);
  EXPECT_TRUE(Loads(0));
}

}  // namespace
