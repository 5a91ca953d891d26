#include "platform/win32/standard_streams.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/win32/utf.h"

namespace win32 {
namespace {

// Writes go in pieces that a DWORD counts, and that a console takes in one call.
constexpr std::size_t kChunk = 16 * 1024;

bool WriteToConsole(HANDLE console, std::string_view utf8) {
  const std::wstring wide = Utf8ToWide(utf8);
  for (std::size_t done = 0; done < wide.size();) {
    const DWORD piece = static_cast<DWORD>(std::min(kChunk, wide.size() - done));
    DWORD written = 0;
    if (!::WriteConsoleW(console, wide.data() + done, piece, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

bool WriteBytes(HANDLE file, std::string_view utf8) {
  for (std::size_t done = 0; done < utf8.size();) {
    const DWORD piece = static_cast<DWORD>(std::min(kChunk, utf8.size() - done));
    DWORD written = 0;
    if (!::WriteFile(file, utf8.data() + done, piece, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

bool WriteTo(DWORD which, std::string_view utf8) {
  // The process's own standard handle: the system owns it, and it is never closed here.
  const HANDLE stream = ::GetStdHandle(which);
  if (stream == nullptr || stream == INVALID_HANDLE_VALUE) return false;
  DWORD mode = 0;
  if (::GetConsoleMode(stream, &mode)) return WriteToConsole(stream, utf8);
  return WriteBytes(stream, utf8);
}

}  // namespace

bool StandardStreams::WriteOut(std::string_view utf8) {
  return WriteTo(STD_OUTPUT_HANDLE, utf8);
}

bool StandardStreams::WriteError(std::string_view utf8) {
  return WriteTo(STD_ERROR_HANDLE, utf8);
}

}  // namespace win32
