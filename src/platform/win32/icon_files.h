#pragma once

// Icons from files, read by the program's own bounded reader (platform/icon_file.h): the
// system gets only the checked, private copy of the picture chosen, never the file.

#include <windows.h>

#include <string>

namespace win32 {

// The icon at that place of a program file (a negative index names a resource id), at size
// pixels; null when the file or anything in it fails a check.
HICON ReadProgramIconFile(const std::wstring& path, int index, int size);

// The icon of an .ico file at size pixels; null when the file fails a check.
HICON ReadIcoIconFile(const std::wstring& path, int size);

}  // namespace win32
