#pragma once

// The shell's starts. shell32 is loaded from the system folder when a start first needs it, and
// stays for the rest of the run: loading it at start-up costs time and brings its extensions in
// before the menu is up. ole32 comes the same way, for the apartment the shell needs.

#include <windows.h>
// shellapi.h needs the definitions of windows.h first.
#include <shellapi.h>

#include <string>

namespace win32 {

// The system folder; empty when the system will not say. A 32-bit process on a 64-bit system is
// told System32 too; the file system redirection then gives it the 32-bit programs.
std::wstring SystemFolder();

// A library of the system folder by its full path, so that no file of that name elsewhere is
// loaded in its place; kept for the rest of the run. Null when it is not there.
HMODULE LoadSystemLibrary(const wchar_t* name);

// ShellExecuteExW from any thread: the first call on a thread makes it a single-threaded COM
// apartment without OLE1 and DDE, until the thread ends, as the shell's extensions expect. The
// shell may leave hidden windows on the thread: it must handle its messages while it waits.
// ERROR_SUCCESS, or the error of the start (ERROR_MOD_NOT_FOUND without shell32).
DWORD ExecuteThroughShell(SHELLEXECUTEINFOW& info);

}  // namespace win32
