#include "program_start.h"

#include <windows.h>

#include "app/program.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/win32_platform.h"

void StartProgram(const std::vector<std::string>& arguments) {
  // Before anything loads a library on demand. Where the system cannot restrict the search, the
  // program runs as it always did.
  win32::LoadLibrariesFromSystemOnly();
  // The catalogue looks files up before the menu comes: an empty removable drive must answer
  // "no file", not ask the user for a disk.
  ::SetErrorMode(::GetErrorMode() | SEM_FAILCRITICALERRORS);
  win32::Win32Platform system;
  platform::Platform platform = system.Bind();
  const int exit_code = app::RunProgram(platform, arguments);
  // Ends the process here, with any worker still looking for an icon: nobody waits for one,
  // and none ever sees the platform above destroyed, as the workers' end would join them.
  ::ExitProcess(static_cast<UINT>(exit_code));
}
