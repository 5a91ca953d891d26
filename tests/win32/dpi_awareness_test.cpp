// The DPI awareness the manifest declares: read from the built program's own resource through
// an activation context, as Windows reads it, and as this test program, which carries the same
// manifest, runs with it.

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/lookup.h"
#include "platform/win32/utf.h"

namespace {

constexpr wchar_t kSettings2005[] = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
constexpr wchar_t kSettings2016[] = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";
constexpr std::size_t kSettingLength = 128;
// DPI_AWARENESS_PER_MONITOR_AWARE: GetAwarenessFromDpiAwarenessContext's value for both
// per-monitor modes.
constexpr int kPerMonitorAware = 2;
constexpr WORD kManifestResource = 1;  // CREATEPROCESS_MANIFEST_RESOURCE_ID

struct ActivationContextTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::ReleaseActCtx(h); }
};
using UniqueActivationContext = platform::UniqueHandle<ActivationContextTraits>;

std::wstring ProgramPath() {
  // The build passes a Unix path; Z: is the Unix root.
  std::wstring path = L"Z:" + win32::Utf8ToWide(TAPWISE_PROGRAM_PATH);
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

UniqueActivationContext ProgramContext() {
  const std::wstring path = ProgramPath();
  ACTCTXW request{};
  request.cbSize = sizeof(request);
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path.c_str();
  request.lpResourceName = MAKEINTRESOURCEW(kManifestResource);
  return UniqueActivationContext(::CreateActCtxW(&request));
}

// A windows setting of the context; empty when it has none.
std::wstring Setting(HANDLE context, const wchar_t* space, const wchar_t* name) {
  std::array<wchar_t, kSettingLength> value{};
  SIZE_T written = 0;
  if (!::QueryActCtxSettingsW(0, context, space, name, value.data(), value.size(), &written)) {
    return L"";
  }
  return value.data();
}

TEST(DpiAwareness, ProgramDeclaresPerMonitorV2WithASystemAwareFallback) {
  const UniqueActivationContext context = ProgramContext();
  ASSERT_TRUE(context) << "no manifest in " << win32::WideToUtf8(ProgramPath());
  const struct {
    const wchar_t* space;
    const wchar_t* name;
    const wchar_t* value;
  } settings[] = {
      // Windows 10 1607 and later: the first mode it knows.
      {kSettings2016, L"dpiAwareness", L"PerMonitorV2, System"},
      // Earlier systems: system aware.
      {kSettings2005, L"dpiAware", L"true"},
  };
  for (const auto& setting : settings) {
    EXPECT_EQ(Setting(context.get(), setting.space, setting.name), setting.value)
        << win32::WideToUtf8(setting.name);
  }
}

TEST(DpiAwareness, ProcessWithTheManifestIsPerMonitorAware) {
  using ContextFn = HANDLE(WINAPI*)();
  using AwarenessFn = int(WINAPI*)(HANDLE);
  const HMODULE user = ::GetModuleHandleW(L"user32.dll");
  const auto thread_context = win32::LookUp<ContextFn>(user, "GetThreadDpiAwarenessContext");
  const auto awareness = win32::LookUp<AwarenessFn>(user, "GetAwarenessFromDpiAwarenessContext");
  if (thread_context == nullptr || awareness == nullptr) GTEST_SKIP() << "no DPI contexts here";
  EXPECT_EQ(awareness(thread_context()), kPerMonitorAware);
}

}  // namespace
