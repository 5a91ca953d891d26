#include "platform/win32/file_store.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/handles.h"
#include "platform/win32/utf.h"

namespace win32 {
namespace {

// Writes and reads go in pieces no larger than a DWORD can count.
constexpr DWORD kChunk = 1 << 20;

platform::FileError LastError() {
  return ::GetLastError();
}

}  // namespace

std::string FileStore::LocalAppDataFolder() {
  // The variable the system sets for every user's session; the shell's own folder functions
  // would load shell32, which the program keeps out of its start.
  wchar_t folder[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  const std::wstring_view path(folder, length);
  // Only a drive's folder: a relative one would depend on the current folder.
  const bool absolute = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
  return absolute ? WideToUtf8(path) : std::string{};
}

platform::FileError FileStore::CreateFolders(const std::string& path) {
  // Each folder from the top down; those already there are passed over.
  const std::wstring wide = Utf8ToWide(path);
  for (std::size_t at = wide.find(L'\\', 3);; at = wide.find(L'\\', at + 1)) {
    const std::wstring folder = wide.substr(0, at);
    if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
      return LastError();
    }
    if (at == std::wstring::npos || at + 1 == wide.size()) break;
  }
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return ERROR_DIRECTORY;
  return platform::kFileOk;
}

platform::FileError FileStore::WriteNewFile(const std::string& path,
                                            const std::vector<std::uint8_t>& bytes) {
  const UniqueFileHandle file(::CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastError();
  for (std::size_t done = 0; done < bytes.size();) {
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(kChunk, bytes.size() - done));
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data() + done, piece, &written, nullptr)) {
      return LastError();
    }
    done += written;
  }
  if (!::FlushFileBuffers(file.get())) return LastError();
  return platform::kFileOk;
}

platform::FileError FileStore::ReadWholeFile(const std::string& path, std::size_t limit,
                                             std::vector<std::uint8_t>& bytes) {
  const UniqueFileHandle file(::CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                            nullptr));
  if (!file) return LastError();
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) return LastError();
  if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > limit) {
    return platform::kFileErrorTooLarge;
  }
  bytes.assign(static_cast<std::size_t>(size.QuadPart), 0);
  for (std::size_t done = 0; done < bytes.size();) {
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(kChunk, bytes.size() - done));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, piece, &read, nullptr)) return LastError();
    if (read == 0) {
      bytes.resize(done);  // it shrank meanwhile
      break;
    }
    done += read;
  }
  return platform::kFileOk;
}

platform::FileError FileStore::RemoveFile(const std::string& path) {
  if (!::DeleteFileW(Utf8ToWide(path).c_str())) return LastError();
  return platform::kFileOk;
}

platform::FileError FileStore::RemoveEmptyFolder(const std::string& path) {
  if (!::RemoveDirectoryW(Utf8ToWide(path).c_str())) return LastError();
  return platform::kFileOk;
}

platform::FileError FileStore::MoveReplacing(const std::string& from, const std::string& to) {
  // Written through, so that the replaced file is not left for a cache to lose.
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  if (!::MoveFileExW(Utf8ToWide(from).c_str(), Utf8ToWide(to).c_str(), flags)) return LastError();
  return platform::kFileOk;
}

platform::LocalTime FileStore::Now() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return platform::LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace win32
