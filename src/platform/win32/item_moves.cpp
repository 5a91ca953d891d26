// Taking items away whole. Every call opens the item itself, never what a link points to, and
// makes sure the handle is where the path said before it changes anything: a folder above the
// item that was swapped for a link would otherwise send a move or a delete somewhere else.

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sha256.h"
#include "platform/win32/file_store.h"
#include "platform/win32/handles.h"
#include "platform/win32/utf.h"

namespace win32 {
namespace {

using platform::FileError;
using platform::kFileOk;

// Reads and writes go a piece at a time, so memory stays small whatever the file's size.
constexpr DWORD kChunk = 1 << 16;
// A link opens as itself; a folder opens at all only with backup semantics.
constexpr DWORD kItselfFlags = FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Asked on every open besides its own rights: enough to read the item's place and attributes.
constexpr DWORD kLookAccess = FILE_READ_ATTRIBUTES | SYNCHRONIZE;
// A stream list holds a file's unnamed data under this name; any other name is an alternate one.
constexpr std::wstring_view kUnnamedData = L"::$DATA";
constexpr DWORD kFirstStreamListSize = 1 << 10;
// Past this the list is refused rather than grown without end.
constexpr DWORD kStreamListLimit = 1 << 20;
// A path's text is asked for twice at most: the second buffer is as large as the first answer
// asked, and only a path that grew meanwhile needs more.
constexpr int kFetchAttempts = 2;
constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";
constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";
constexpr std::wstring_view kNtPrefix = L"\\??\\";

FileError LastError() {
  return ::GetLastError();
}

// The text of a call that fills a buffer and, when the buffer is short, returns the size it
// needs; nothing when it fails, with the reason in GetLastError.
template <typename Call>
std::optional<std::wstring> Fetched(Call call) {
  std::wstring text(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < kFetchAttempts; ++attempt) {
    const DWORD length = call(text.data(), static_cast<DWORD>(text.size()));
    if (length == 0) return std::nullopt;
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.assign(length, L'\0');
  }
  ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return std::nullopt;
}

// The path as CreateFileW resolves it before it opens: "." and ".." taken out, "/" made "\".
// A "\\?\" path comes back as it is, as the open takes it.
std::wstring FullPath(const std::wstring& path) {
  const auto full = Fetched([&](wchar_t* buffer, DWORD size) {
    return ::GetFullPathNameW(path.c_str(), size, buffer, nullptr);
  });
  return full.value_or(path);
}

// One spelling for comparing places: no "\\?\" prefix and no trailing backslash but a root's.
std::wstring Plain(std::wstring path) {
  if (path.starts_with(kLongUncPrefix)) {
    path.replace(0, kLongUncPrefix.size(), L"\\\\");
  } else if (path.starts_with(kLongPrefix)) {
    path.erase(0, kLongPrefix.size());
  }
  constexpr std::size_t kDriveRootLength = 3;  // "C:\"
  while (path.size() > kDriveRootLength && path.back() == L'\\') path.pop_back();
  return path;
}

bool SamePlace(const std::wstring& a, const std::wstring& b) {
  const std::wstring plain_a = Plain(a);
  const std::wstring plain_b = Plain(b);
  return ::CompareStringOrdinal(plain_a.c_str(), static_cast<int>(plain_a.size()), plain_b.c_str(),
                                static_cast<int>(plain_b.size()), TRUE) == CSTR_EQUAL;
}

// Whether the handle is where the path asked for says. The final path has every link on the way
// resolved, so a folder above the item that is a link makes it differ.
FileError CheckPlace(HANDLE item, const std::wstring& asked) {
  const auto actual = Fetched([&](wchar_t* buffer, DWORD size) {
    return ::GetFinalPathNameByHandleW(item, buffer, size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  });
  if (!actual) return LastError();
  const std::wstring full = FullPath(asked);
  if (SamePlace(*actual, full)) return kFileOk;
  // The final path spells every name long: an 8.3 name asked for is the same place.
  const auto long_path = Fetched(
      [&](wchar_t* buffer, DWORD size) { return ::GetLongPathNameW(full.c_str(), buffer, size); });
  if (long_path && SamePlace(*actual, *long_path)) return kFileOk;
  return platform::kFileErrorStoppedOnLink;
}

// Marks the item for deletion through its handle; it goes when the last handle to it closes.
FileError Discard(HANDLE item) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  if (!::SetFileInformationByHandle(item, FileDispositionInfo, &disposition, sizeof(disposition))) {
    return LastError();
  }
  return kFileOk;
}

// Opens the item itself where the path says, or refuses. An item this open made in the wrong
// place is taken away again.
FileError OpenItself(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                     UniqueFileHandle& item) {
  item.reset(::CreateFileW(path.c_str(), access | kLookAccess, share, nullptr, disposition,
                           kItselfFlags, nullptr));
  if (!item) return LastError();
  const FileError place = CheckPlace(item.get(), path);
  if (place == kFileOk) return kFileOk;
  if (disposition == CREATE_NEW) Discard(item.get());
  item.reset();
  return place;
}

// Opens a file whose bytes are wanted. A link is refused with kFileErrorStoppedOnLink rather
// than access denied, so that the caller can tell it from a right it lacks: its bytes, read
// through it, would be another file's. A folder is refused as CreateFileW refuses one.
FileError OpenFileItself(const std::wstring& path, DWORD access, UniqueFileHandle& file) {
  if (const FileError error = OpenItself(path, access, FILE_SHARE_READ, OPEN_EXISTING, file);
      error != kFileOk) {
    return error;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file.get(), &info)) return LastError();
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    return platform::kFileErrorStoppedOnLink;
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return ERROR_ACCESS_DENIED;
  return kFileOk;
}

FileError WriteAll(HANDLE file, const std::uint8_t* bytes, std::size_t count) {
  for (std::size_t done = 0; done < count;) {
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(kChunk, count - done));
    DWORD written = 0;
    if (!::WriteFile(file, bytes + done, piece, &written, nullptr)) return LastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    done += written;
  }
  return kFileOk;
}

// Reads the file to its end, handing each piece to take, which may stop the reading.
template <typename Take>
FileError ReadAll(HANDLE file, Take take) {
  std::vector<std::uint8_t> piece(kChunk);
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file, piece.data(), kChunk, &read, nullptr)) return LastError();
    if (read == 0) return kFileOk;
    if (const FileError error = take(piece.data(), read); error != kFileOk) return error;
  }
}

// The NT form of a path, "\??\C:\..." or "\??\UNC\server\share\...": Windows takes it as it is,
// and so does the DOS-to-NT conversion that Wine's kernelbase applies to a new name.
std::wstring NtPath(const std::wstring& path) {
  const std::wstring full = FullPath(path);
  if (full.starts_with(kLongPrefix) || full.starts_with(kDevicePrefix)) {
    return std::wstring(kNtPrefix) + full.substr(kLongPrefix.size());
  }
  if (full.starts_with(L"\\\\")) return std::wstring(kNtPrefix) + L"UNC\\" + full.substr(2);
  return std::wstring(kNtPrefix) + full;
}

// The new name of a move goes by path; its folder is checked first, so that a link there does
// not carry the item elsewhere.
FileError CheckFolderAbove(const std::wstring& path) {
  const std::wstring full = FullPath(path);
  const std::size_t last = full.find_last_of(L'\\');
  if (last == std::wstring::npos) return ERROR_BAD_PATHNAME;
  UniqueFileHandle folder;
  // The backslash stays, so that a drive's root is "C:\", not the volume "C:".
  return OpenItself(full.substr(0, last + 1), 0, kShareAll, OPEN_EXISTING, folder);
}

// Renames through the handle, so that what moves is what was checked. The terminator is part of
// the buffer: Wine's kernelbase reads the name up to it rather than by its length.
FileError Rename(HANDLE item, const std::wstring& to) {
  const std::wstring name = NtPath(to);
  const std::size_t name_bytes = name.size() * sizeof(wchar_t);
  const std::size_t size = std::max(sizeof(FILE_RENAME_INFO), offsetof(FILE_RENAME_INFO, FileName) +
                                                                  name_bytes + sizeof(wchar_t));
  std::vector<std::byte> buffer(size);
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = FALSE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(name_bytes);
  std::memcpy(info->FileName, name.c_str(), name_bytes + sizeof(wchar_t));
  if (!::SetFileInformationByHandle(item, FileRenameInfo, info, static_cast<DWORD>(size))) {
    return LastError();
  }
  return kFileOk;
}

// The item's FILE_STREAM_INFO entries, read through its handle; empty when it has no stream.
FileError ReadStreamList(HANDLE item, std::vector<std::byte>& list) {
  for (DWORD size = kFirstStreamListSize; size <= kStreamListLimit; size *= 2) {
    list.assign(size, std::byte{0});
    if (::GetFileInformationByHandleEx(item, FileStreamInfo, list.data(), size)) return kFileOk;
    const DWORD error = ::GetLastError();
    if (error == ERROR_HANDLE_EOF) {
      list.clear();
      return kFileOk;
    }
    if (error != ERROR_MORE_DATA) return error;
  }
  return platform::kFileErrorTooLarge;
}

bool ListsNamedStream(const std::vector<std::byte>& list) {
  for (std::size_t at = 0; at + sizeof(FILE_STREAM_INFO) <= list.size();) {
    const auto* stream = reinterpret_cast<const FILE_STREAM_INFO*>(list.data() + at);
    const std::size_t name_end =
        at + offsetof(FILE_STREAM_INFO, StreamName) + stream->StreamNameLength;
    // A zero-length name is the untouched rest of the buffer.
    if (stream->StreamNameLength == 0 || name_end > list.size()) return false;
    const std::wstring_view name(stream->StreamName, stream->StreamNameLength / sizeof(wchar_t));
    if (name != kUnnamedData) return true;
    if (stream->NextEntryOffset == 0) return false;
    at += stream->NextEntryOffset;
  }
  return false;
}

}  // namespace

FileError FileStore::MoveItem(const std::string& from, const std::string& to) {
  UniqueFileHandle item;
  if (const FileError error = OpenItself(Utf8ToWide(from), DELETE, kShareAll, OPEN_EXISTING, item);
      error != kFileOk) {
    return error;
  }
  const std::wstring target = Utf8ToWide(to);
  if (const FileError error = CheckFolderAbove(target); error != kFileOk) return error;
  // Never a copy: across volumes the rename itself fails with ERROR_NOT_SAME_DEVICE, on Windows
  // and under Wine alike, which is kFileErrorNotSameDevice.
  return Rename(item.get(), target);
}

FileError FileStore::CopyFileBytes(const std::string& from, const std::string& to) {
  UniqueFileHandle source;
  if (const FileError error = OpenFileItself(Utf8ToWide(from), GENERIC_READ, source);
      error != kFileOk) {
    return error;
  }
  UniqueFileHandle copy;
  if (const FileError error =
          OpenItself(Utf8ToWide(to), GENERIC_WRITE | DELETE, 0, CREATE_NEW, copy);
      error != kFileOk) {
    return error;
  }
  FileError error = ReadAll(source.get(), [&](const std::uint8_t* bytes, DWORD count) {
    return WriteAll(copy.get(), bytes, count);
  });
  if (error == kFileOk && !::FlushFileBuffers(copy.get())) error = LastError();
  // A copy cut short must not pass for the file.
  if (error != kFileOk) Discard(copy.get());
  return error;
}

FileError FileStore::HashFile(const std::string& path, std::string& hash) {
  UniqueFileHandle file;
  if (const FileError error = OpenFileItself(Utf8ToWide(path), GENERIC_READ, file);
      error != kFileOk) {
    return error;
  }
  platform::Sha256 sha;
  if (const FileError error = ReadAll(file.get(),
                                      [&](const std::uint8_t* bytes, DWORD count) {
                                        sha.Add(bytes, count);
                                        return kFileOk;
                                      });
      error != kFileOk) {
    return error;
  }
  hash = sha.FinishHex();
  return kFileOk;
}

FileError FileStore::DeleteItem(const std::string& path) {
  UniqueFileHandle item;
  if (const FileError error = OpenItself(Utf8ToWide(path), DELETE, kShareAll, OPEN_EXISTING, item);
      error != kFileOk) {
    return error;
  }
  // A folder with anything in it is refused here with ERROR_DIR_NOT_EMPTY (Wine 8 too).
  return Discard(item.get());
}

FileError FileStore::HasAlternateStreams(const std::string& path, bool& has) {
  UniqueFileHandle item;
  if (const FileError error = OpenItself(Utf8ToWide(path), 0, kShareAll, OPEN_EXISTING, item);
      error != kFileOk) {
    return error;
  }
  DWORD volume_flags = 0;
  if (!::GetVolumeInformationByHandleW(item.get(), nullptr, 0, nullptr, nullptr, &volume_flags,
                                       nullptr, 0)) {
    return LastError();
  }
  // A volume that keeps no named streams has none to find: FAT, and Wine's drives, which say so
  // (Wine 8 stores "a:s" as a file of that name beside "a"). Only such a volume is taken at its
  // word; on any other the list itself is read, and a failure to read it is the answer.
  if ((volume_flags & FILE_NAMED_STREAMS) == 0) {
    has = false;
    return kFileOk;
  }
  // Through the checked handle: FindFirstStreamW would open the path once more.
  std::vector<std::byte> list;
  if (const FileError error = ReadStreamList(item.get(), list); error != kFileOk) return error;
  has = ListsNamedStream(list);
  return kFileOk;
}

FileError FileStore::AppendFlushed(const std::string& path, std::string_view bytes) {
  UniqueFileHandle file;
  // Append access alone: every write lands at the end, whatever else writes meanwhile.
  if (const FileError error = OpenFileItself(Utf8ToWide(path), FILE_APPEND_DATA, file);
      error != kFileOk) {
    return error;
  }
  if (const FileError error =
          WriteAll(file.get(), reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      error != kFileOk) {
    return error;
  }
  if (!::FlushFileBuffers(file.get())) return LastError();
  return kFileOk;
}

}  // namespace win32
