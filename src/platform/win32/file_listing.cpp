// Listing a folder, the system's known folders, and long paths.

#include <initguid.h>
#include <knownfolders.h>
#include <shlobj.h>
#include <windows.h>

#include <array>

#include "platform/win32/file_store.h"
#include "platform/win32/handles.h"
#include "platform/win32/lookup.h"
#include "platform/win32/shell_starts.h"
#include "platform/win32/utf.h"

namespace win32 {
namespace {

// The folders no program's leftovers may be taken from, nor any folder above them.
constexpr std::array<const KNOWNFOLDERID*, 50> kKnownFolders = {
    &FOLDERID_Desktop,
    &FOLDERID_PublicDesktop,
    &FOLDERID_Documents,
    &FOLDERID_PublicDocuments,
    &FOLDERID_Downloads,
    &FOLDERID_PublicDownloads,
    &FOLDERID_Pictures,
    &FOLDERID_PublicPictures,
    &FOLDERID_Music,
    &FOLDERID_PublicMusic,
    &FOLDERID_Videos,
    &FOLDERID_PublicVideos,
    &FOLDERID_Favorites,
    &FOLDERID_RoamingAppData,
    &FOLDERID_LocalAppData,
    &FOLDERID_LocalAppDataLow,
    &FOLDERID_UserProgramFiles,
    &FOLDERID_ProgramData,
    &FOLDERID_Programs,
    &FOLDERID_CommonPrograms,
    &FOLDERID_StartMenu,
    &FOLDERID_CommonStartMenu,
    &FOLDERID_Startup,
    &FOLDERID_CommonStartup,
    &FOLDERID_Profile,
    &FOLDERID_Public,
    &FOLDERID_UserProfiles,
    &FOLDERID_ProgramFiles,
    &FOLDERID_ProgramFilesX86,
    &FOLDERID_ProgramFilesX64,
    &FOLDERID_ProgramFilesCommon,
    &FOLDERID_ProgramFilesCommonX86,
    &FOLDERID_ProgramFilesCommonX64,
    &FOLDERID_Windows,
    &FOLDERID_System,
    &FOLDERID_SystemX86,
    &FOLDERID_SkyDrive,
    &FOLDERID_Templates,
    &FOLDERID_CommonTemplates,
    &FOLDERID_SendTo,
    &FOLDERID_Recent,
    &FOLDERID_Links,
    &FOLDERID_SavedGames,
    &FOLDERID_Contacts,
    &FOLDERID_SearchHome,
    &FOLDERID_Fonts,
    &FOLDERID_AdminTools,
    &FOLDERID_CommonAdminTools,
    &FOLDERID_Cookies,
    &FOLDERID_History,
};

platform::PathKind KindOfItem(const WIN32_FIND_DATAW& found) {
  if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    return platform::PathKind::kReparsePoint;
  }
  if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return platform::PathKind::kFolder;
  return platform::PathKind::kFile;
}

bool IsDots(const wchar_t* name) {
  return std::wstring_view(name) == L"." || std::wstring_view(name) == L"..";
}

constexpr std::array<const KNOWNFOLDERID*, 2> kStartMenus = {&FOLDERID_StartMenu,
                                                             &FOLDERID_CommonStartMenu};
constexpr std::array<const KNOWNFOLDERID*, 2> kDesktops = {&FOLDERID_Desktop,
                                                           &FOLDERID_PublicDesktop};

// The paths of those known folders the system can tell.
template <std::size_t N>
std::vector<std::string> PathsOf(const std::array<const KNOWNFOLDERID*, N>& ids) {
  // shell32 and ole32 are loaded only by what needs the folders, never at the start.
  using GetKnownFolderPath = HRESULT(WINAPI*)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*);
  using TaskMemFree = void(WINAPI*)(LPVOID);
  static const auto get_path =
      LookUp<GetKnownFolderPath>(LoadSystemLibrary(L"shell32.dll"), "SHGetKnownFolderPath");
  static const auto free_path =
      LookUp<TaskMemFree>(LoadSystemLibrary(L"ole32.dll"), "CoTaskMemFree");
  std::vector<std::string> folders;
  if (get_path == nullptr || free_path == nullptr) return folders;
  for (const KNOWNFOLDERID* id : ids) {
    PWSTR path = nullptr;
    if (SUCCEEDED(get_path(*id, KF_FLAG_DONT_VERIFY, nullptr, &path)) && path != nullptr) {
      folders.push_back(WideToUtf8(path));
    }
    free_path(path);
  }
  return folders;
}

}  // namespace

platform::FileStore::ShortcutPlaces FileStore::ShortcutFolders() {
  return {PathsOf(kStartMenus), PathsOf(kDesktops)};
}

platform::FileError FileStore::ListFolder(const std::string& path, std::size_t limit,
                                          std::vector<platform::FolderItem>& items) {
  WIN32_FIND_DATAW found{};
  const std::wstring pattern = Utf8ToWide(path) + L"\\*";
  const UniqueFindHandle search(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                                   FindExSearchNameMatch, nullptr,
                                                   FIND_FIRST_EX_LARGE_FETCH));
  if (!search) return ::GetLastError();
  do {
    if (IsDots(found.cFileName)) continue;
    if (items.size() >= limit) return platform::kFileErrorTooLarge;
    const std::uint64_t size =
        (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    items.push_back(platform::FolderItem{WideToUtf8(found.cFileName), KindOfItem(found), size});
  } while (::FindNextFileW(search.get(), &found));
  const DWORD error = ::GetLastError();
  return error == ERROR_NO_MORE_FILES ? platform::kFileOk : error;
}

std::vector<std::string> FileStore::KnownFolders() {
  std::vector<std::string> folders = PathsOf(kKnownFolders);
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
  if (length > 0 && length <= MAX_PATH)
    folders.push_back(WideToUtf8(std::wstring_view(temp, length)));
  return folders;
}

std::optional<std::string> FileStore::LongPath(const std::string& path) {
  const std::wstring wide = Utf8ToWide(path);
  const DWORD needed = ::GetLongPathNameW(wide.c_str(), nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::wstring long_path(needed, L'\0');
  const DWORD length = ::GetLongPathNameW(wide.c_str(), long_path.data(), needed);
  if (length == 0 || length >= needed) return std::nullopt;
  long_path.resize(length);
  return WideToUtf8(long_path);
}

}  // namespace win32
