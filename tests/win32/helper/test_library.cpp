// A library that exists only beside the test program: whether a load by its bare name finds it
// tells where the loader looks.

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
  return TRUE;
}
