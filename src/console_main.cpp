// TapwiseUninstaller.com: the same program for a console. Started from cmd or PowerShell by
// its name alone, it is found before the .exe beside it, and the console waits for it and
// shows what it writes.

#include <string>
#include <vector>

#include "platform/win32/utf.h"
#include "program_start.h"

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(win32::WideToUtf8(argv[i]));
  StartProgram(arguments);
}
