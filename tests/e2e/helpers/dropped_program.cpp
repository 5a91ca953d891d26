// Test helper: a program dropped where the system's own must be found instead, under the name of
// one (cmd.exe, taskkill.exe, msiexec.exe). It appends its command line to a log beside itself
// (cmd.exe to cmd.log) and does nothing else, so a test sees whether it ever ran.

#include <windows.h>

#include "command_line.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return helpers::LogCommandLine(helpers::LogBesideModule()) ? 0 : 1;
}
