#include <windows.h>

#include "app/command_line/arguments.h"
#include "platform/win32/utf.h"
#include "program_start.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
  StartProgram(app::SplitArguments(win32::WideToUtf8(command_line)));
}
