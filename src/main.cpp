#include <windows.h>

#include "app/program.h"
#include "platform/win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  win32::Win32Platform system;
  platform::Platform platform = system.Bind();
  return app::RunProgram(platform);
}
