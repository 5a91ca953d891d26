// What the program asks of a folder before it trusts it: what it is, without following a link,
// and who owns and may change it.

#include <windows.h>
// After windows.h, whose types they use.
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include "platform/win32/file_store.h"
#include "platform/win32/handles.h"
#include "platform/win32/lookup.h"
#include "platform/win32/shell_starts.h"
#include "platform/win32/utf.h"

namespace win32 {
namespace {

constexpr SECURITY_INFORMATION kOwnerAndDacl =
    OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

// The path itself, for reading its attributes and security: a reparse point is opened as what
// it is, never as what it points to.
UniqueFileHandle OpenItself(const std::string& path) {
  return UniqueFileHandle(
      ::CreateFileW(Utf8ToWide(path).c_str(), READ_CONTROL,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

}  // namespace

std::string FileStore::ProgramDataFolder() {
  // The shell's answer comes from the system's own settings; the environment could name any
  // folder. shell32 is loaded only by the removals that need the folder.
  using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
  static const auto get_folder_path =
      LookUp<GetFolderPath>(LoadSystemLibrary(L"shell32.dll"), "SHGetFolderPathW");
  if (get_folder_path == nullptr) return {};
  wchar_t folder[MAX_PATH];
  if (FAILED(get_folder_path(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
    return {};
  }
  return WideToUtf8(folder);
}

platform::PathKind FileStore::KindOf(const std::string& path) {
  const UniqueFileHandle file = OpenItself(path);
  if (!file) {
    const DWORD error = ::GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return missing ? platform::PathKind::kMissing : platform::PathKind::kNotKnown;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file.get(), &info)) return platform::PathKind::kNotKnown;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    return platform::PathKind::kReparsePoint;
  }
  return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? platform::PathKind::kFolder
                                                                 : platform::PathKind::kFile;
}

std::string FileStore::SecurityText(const std::string& path) {
  const UniqueFileHandle file = OpenItself(path);
  if (!file) return {};
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (::GetSecurityInfo(file.get(), SE_FILE_OBJECT, kOwnerAndDacl, nullptr, nullptr, nullptr,
                        nullptr, &descriptor) != ERROR_SUCCESS) {
    return {};
  }
  const LocalMemory owned_descriptor(descriptor);
  LPWSTR text = nullptr;
  if (!::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                              kOwnerAndDacl, &text, nullptr)) {
    return {};
  }
  const LocalMemory owned_text(text);
  return WideToUtf8(text);
}

platform::FileError FileStore::CreateSecuredFolder(const std::string& path,
                                                   const std::string& security) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(
          Utf8ToWide(security).c_str(), SDDL_REVISION_1, &descriptor, nullptr)) {
    return ::GetLastError();
  }
  const LocalMemory owned_descriptor(descriptor);
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  if (!::CreateDirectoryW(Utf8ToWide(path).c_str(), &attributes)) return ::GetLastError();
  return platform::kFileOk;
}

}  // namespace win32
