#include "platform/win32/launcher.h"

#include <windows.h>
// shellapi.h needs the definitions of windows.h first.
#include <shellapi.h>

#include "platform/win32/handles.h"
#include "platform/win32/ids.h"
#include "platform/win32/utf.h"

namespace win32 {
namespace {

// The shell takes a null pointer, not an empty string, for "not given".
const wchar_t* OrNull(const std::wstring& text) {
  return text.empty() ? nullptr : text.c_str();
}

}  // namespace

void Launcher::Execute(platform::WindowId owner, const std::string& verb, const std::string& file,
                       const std::string& parameters, const std::string& directory, int show) {
  const std::wstring wide_verb = Utf8ToWide(verb);
  const std::wstring wide_file = Utf8ToWide(file);
  const std::wstring wide_parameters = Utf8ToWide(parameters);
  const std::wstring wide_directory = Utf8ToWide(directory);
  ::ShellExecuteW(ToHwnd(owner), OrNull(wide_verb), wide_file.c_str(), OrNull(wide_parameters),
                  OrNull(wide_directory), show);
}

void Launcher::ExecuteEx(const platform::ShellExecuteRequest& request) {
  const std::wstring verb = Utf8ToWide(request.verb);
  const std::wstring file = Utf8ToWide(request.file);
  const std::wstring parameters = Utf8ToWide(request.parameters);
  const std::wstring directory = Utf8ToWide(request.directory);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = request.mask;
  info.hwnd = ToHwnd(request.owner);
  info.lpVerb = OrNull(verb);
  info.lpFile = file.c_str();
  info.lpParameters = OrNull(parameters);
  info.lpDirectory = OrNull(directory);
  info.nShow = request.show;
  ::ShellExecuteExW(&info);
  // Only SEE_MASK_NOCLOSEPROCESS would hand a process over, and it is never asked for; close
  // one anyway should a caller ask.
  const UniqueKernelHandle process(info.hProcess);
}

void Launcher::StartCommandLine(const std::string& program, const std::string& command_line,
                                int show) {
  const std::wstring wide_program = Utf8ToWide(program);
  // CreateProcessW may write into the command line, so it gets a copy it owns.
  std::wstring writable = Utf8ToWide(command_line);
  writable.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(OrNull(wide_program), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started)) {
    return;
  }
  const UniqueKernelHandle process(started.hProcess);
  const UniqueKernelHandle thread(started.hThread);
}

std::string Launcher::SystemDirectory() {
  // A 32-bit process on a 64-bit system is told System32 too; the file system redirection then
  // gives it the 32-bit programs.
  wchar_t directory[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return WideToUtf8(std::wstring_view(directory, length));
}

}  // namespace win32
