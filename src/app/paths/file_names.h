#pragma once

// A file's name as Windows reads it, which is not always as it is written: Windows drops the
// dots and blanks that end a name, a colon begins the name of one of the file's streams, and
// some names open a device in whatever folder they stand. Rules that judge a file by its name
// judge the name that Windows opens.

#include <cstddef>
#include <string_view>

namespace app {

// The folder part of a path, without the separator before its last part; a drive's root keeps
// its separator ("C:\\"), since "C:" alone is the drive's current folder. Empty without a
// separator.
std::string_view FolderOf(std::string_view path);
// The last part of a path, after its last separator; the whole path without one.
std::string_view FileNameOf(std::string_view path);

// The last part of a path as Windows opens it: without a stream's name (from a colon on), then
// without the dots and blanks at its end. "C:\x\u.bat. " and "C:\x\u.bat::$DATA" open u.bat.
std::string_view OpenedFileName(std::string_view path);

// Whether Windows runs the file through cmd.exe: its opened name ends in ".bat" or ".cmd", in
// any letter case.
bool IsBatchFile(std::string_view path);

// Whether the path's last part names a device rather than a file: CON, PRN, AUX, NUL, CONIN$,
// CONOUT$, COM0 to COM9 and LPT0 to LPT9 (also with a superscript 1, 2 or 3), in any letter
// case, with any extension, blanks before it, dots or blanks after, or a colon after. Opening
// one may block on the device, or act on it.
bool IsDeviceName(std::string_view path);

// MAX_PATH, its terminator included. This program is not long-path aware: no longer path names
// a file it can open or start.
inline constexpr std::size_t kMaxPathUnits = 260;

// How many UTF-16 units the text takes as Windows is given it.
std::size_t Utf16Length(std::string_view text);

// Whether the path fits MAX_PATH with its terminator.
inline bool FitsMaxPath(std::string_view path) {
  return Utf16Length(path) < kMaxPathUnits;
}

}  // namespace app
