#pragma once

namespace win32 {

// From now on, a library loaded by name comes from the system directory only: never from this
// program's folder, where a downloaded file may lie, nor from the current directory. False when
// the system cannot restrict the search (Windows 7 without its loader update).
bool LoadLibrariesFromSystemOnly();

}  // namespace win32
