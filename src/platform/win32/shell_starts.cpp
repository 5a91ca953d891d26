#include "platform/win32/shell_starts.h"

// objbase.h, for COM's declarations, is left out of windows.h by WIN32_LEAN_AND_MEAN.
#include <objbase.h>

#include "platform/win32/lookup.h"

namespace win32 {
namespace {

decltype(&::ShellExecuteExW) ShellExecuteCall() {
  static const auto execute =
      LookUp<decltype(&::ShellExecuteExW)>(LoadSystemLibrary(L"shell32.dll"), "ShellExecuteExW");
  return execute;
}

struct ComCalls {
  decltype(&::CoInitializeEx) initialize = nullptr;
  decltype(&::CoUninitialize) uninitialize = nullptr;
};

const ComCalls& Com() {
  static const ComCalls calls = [] {
    const HMODULE ole = LoadSystemLibrary(L"ole32.dll");
    const ComCalls found{LookUp<decltype(&::CoInitializeEx)>(ole, "CoInitializeEx"),
                         LookUp<decltype(&::CoUninitialize)>(ole, "CoUninitialize")};
    return found.initialize != nullptr && found.uninitialize != nullptr ? found : ComCalls{};
  }();
  return calls;
}

// The calling thread's apartment for the shell, from its first start through the shell until
// it ends. A thread already in another kind of apartment stays in it: the shell copes.
class ShellApartment {
 public:
  ShellApartment() {
    if (Com().initialize == nullptr) return;
    joined_ =
        SUCCEEDED(Com().initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  }
  ~ShellApartment() {
    if (joined_) Com().uninitialize();
  }
  ShellApartment(const ShellApartment&) = delete;
  ShellApartment& operator=(const ShellApartment&) = delete;

 private:
  bool joined_ = false;
};

}  // namespace

HMODULE LoadSystemLibrary(const wchar_t* name) {
  const std::wstring folder = SystemFolder();
  if (folder.empty()) return nullptr;
  return ::LoadLibraryW((folder + L"\\" + name).c_str());
}

std::wstring SystemFolder() {
  wchar_t directory[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(directory, length);
}

DWORD ExecuteThroughShell(SHELLEXECUTEINFOW& info) {
  const auto execute = ShellExecuteCall();
  if (execute == nullptr) return ERROR_MOD_NOT_FOUND;
  thread_local const ShellApartment apartment;
  if (execute(&info)) return ERROR_SUCCESS;
  const DWORD error = ::GetLastError();
  // A failure must never read as a start.
  return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

}  // namespace win32
