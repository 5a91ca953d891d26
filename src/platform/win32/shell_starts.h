#pragma once

// The shell's starts. shell32 is loaded from the system folder when a start first needs it, and
// stays for the rest of the run: loading it at start-up costs time and brings its extensions in
// before the menu is up.

#include <windows.h>
// shellapi.h needs the definitions of windows.h first.
#include <shellapi.h>

#include <string>

namespace win32 {

// The system folder; empty when the system will not say. A 32-bit process on a 64-bit system is
// told System32 too; the file system redirection then gives it the 32-bit programs.
std::wstring SystemFolder();

struct ShellStarts {
  decltype(&::ShellExecuteW) execute = nullptr;
  decltype(&::ShellExecuteExW) execute_ex = nullptr;
};

// Loaded once, from any thread; a member is null when shell32 or its function is not there.
const ShellStarts& Shell();

}  // namespace win32
