#include "platform/win32/launcher.h"

#include <windows.h>
// shellapi.h needs the definitions of windows.h first.
#include <shellapi.h>

#include "platform/error_text.h"
#include "platform/win32/handles.h"
#include "platform/win32/ids.h"
#include "platform/win32/utf.h"

namespace win32 {
namespace {

// Room for the longest text the system gives for an error.
constexpr DWORD kErrorTextSize = 1024;

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

platform::StartError Launcher::ExecuteEx(const platform::ShellExecuteRequest& request) {
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
  const bool started = ::ShellExecuteExW(&info) != FALSE;
  const platform::StartError error = started ? platform::kStartOk : ::GetLastError();
  // Only SEE_MASK_NOCLOSEPROCESS would hand a process over, and it is never asked for; close
  // one anyway should a caller ask.
  const UniqueKernelHandle process(info.hProcess);
  return error;
}

platform::StartError Launcher::StartProcess(const platform::ProcessStart& start) {
  const std::wstring application = Utf8ToWide(start.application);
  const std::wstring directory = Utf8ToWide(start.directory);
  // CreateProcessW may write into the command line, so it gets a copy it owns.
  std::wstring writable = Utf8ToWide(start.command_line);
  writable.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(start.show);
  PROCESS_INFORMATION started{};
  // This program keeps the system from asking for a missing disk; the uninstaller may want to.
  if (!::CreateProcessW(OrNull(application), writable.data(), nullptr, nullptr, FALSE,
                        CREATE_DEFAULT_ERROR_MODE, nullptr, OrNull(directory), &startup,
                        &started)) {
    return ::GetLastError();
  }
  const UniqueKernelHandle process(started.hProcess);
  const UniqueKernelHandle thread(started.hThread);
  return platform::kStartOk;
}

std::string Launcher::SystemDirectory() {
  // A 32-bit process on a 64-bit system is told System32 too; the file system redirection then
  // gives it the 32-bit programs.
  wchar_t directory[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return WideToUtf8(std::wstring_view(directory, length));
}

std::string Launcher::WindowsDirectory() {
  // The shared Windows folder: GetWindowsDirectory may give a user's own on a terminal server.
  wchar_t directory[MAX_PATH];
  const UINT length = ::GetSystemWindowsDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return WideToUtf8(std::wstring_view(directory, length));
}

std::optional<std::string> Launcher::EnvironmentVariable(const std::string& name) {
  const std::wstring wide_name = Utf8ToWide(name);
  // An empty value still needs room for its terminator, so 0 means "not set".
  DWORD needed = ::GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
  std::wstring value;
  while (needed != 0) {
    value.resize(needed);
    const DWORD written = ::GetEnvironmentVariableW(wide_name.c_str(), value.data(), needed);
    if (written < needed) {
      value.resize(written);
      return WideToUtf8(value);
    }
    needed = written;  // it grew meanwhile
  }
  return std::nullopt;
}

std::string Launcher::ErrorText(platform::StartError error, const std::string& path) {
  // Inserts are left alone: the text may name more of them than there are arguments.
  wchar_t text[kErrorTextSize];
  const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, text, kErrorTextSize, nullptr);
  std::wstring_view message(text, length);
  while (!message.empty() &&
         (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' ')) {
    message.remove_suffix(1);
  }
  return platform::WithPathInserted(WideToUtf8(message), path);
}

}  // namespace win32
