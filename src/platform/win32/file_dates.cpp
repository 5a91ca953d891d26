#include "platform/win32/file_dates.h"

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/win32/handles.h"
#include "platform/win32/utf.h"

namespace win32 {
namespace {

// The packed DOS date: years since 1980 in bits 9-15, month in bits 5-8, day in bits 0-4.
constexpr int kDosEpochYear = 1980;
constexpr int kDosLastYear = 2107;
constexpr int kYearShift = 9;
constexpr WORD kYearMask = 0x7F;
constexpr int kMonthShift = 5;
constexpr WORD kMonthMask = 0x0F;
constexpr WORD kDayMask = 0x1F;

platform::Date DecodeDosDate(WORD dos_date) {
  return platform::Date{
      .year = kDosEpochYear + ((dos_date >> kYearShift) & kYearMask),
      .month = (dos_date >> kMonthShift) & kMonthMask,
      .day = dos_date & kDayMask,
  };
}

// Windows refuses to pack a time outside the DOS range; Wine packs years past 2107 with the
// year wrapped round, so the range is checked here.
bool FitsDosDate(const FILETIME& local) {
  SYSTEMTIME fields{};
  if (!::FileTimeToSystemTime(&local, &fields)) return false;
  return fields.wYear >= kDosEpochYear && fields.wYear <= kDosLastYear;
}

// A volume that answered this recently is taken to answer still: long enough for one look
// at a whole list, short enough that a drive taken away is soon noticed.
constexpr ULONGLONG kVolumeAnswerFreshMs = 1000;
// More roots than a machine has drives and shares in use: beyond it the answers are forgotten.
constexpr std::size_t kMostVolumesRemembered = 64;

// The root a path's volume answers at: "C:\" for a drive, "\\server\share\" for a share;
// empty for any other form.
std::wstring VolumeRoot(const std::wstring& path) {
  constexpr std::wstring_view kShareStart = L"\\\\";
  if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2) + L"\\";
  if (!path.starts_with(kShareStart)) return {};
  const std::size_t server_end = path.find(L'\\', kShareStart.size());
  if (server_end == std::wstring::npos || server_end == kShareStart.size()) return {};
  const std::size_t share_end = path.find(L'\\', server_end + 1);
  if (share_end == server_end + 1) return {};
  return path.substr(0, share_end) + L"\\";
}

}  // namespace

std::optional<platform::Date> FileDates::LastWriteDate(const std::string& path) {
  WIN32_FIND_DATAW entry{};
  const UniqueFindHandle search(::FindFirstFileW(Utf8ToWide(path).c_str(), &entry));
  if (!search) return std::nullopt;
  if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::nullopt;
  FILETIME local{};
  if (!::FileTimeToLocalFileTime(&entry.ftLastWriteTime, &local)) return std::nullopt;
  if (!FitsDosDate(local)) return std::nullopt;
  WORD dos_date = 0;
  WORD dos_time = 0;
  if (!::FileTimeToDosDateTime(&local, &dos_date, &dos_time)) return std::nullopt;
  return DecodeDosDate(dos_date);
}

std::uint32_t FileDates::FindFile(const std::string& path) {
  if (path.empty()) return ERROR_PATH_NOT_FOUND;
  const std::wstring wide = Utf8ToWide(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
  }
  const DWORD error = ::GetLastError();
  if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return error;
  // "Not found" counts only from a volume that answers: its root is asked in turn.
  const std::wstring root = VolumeRoot(wide);
  if (root.empty()) return ERROR_BAD_PATHNAME;
  if (VolumeAnswers(root)) return error;
  if (!::GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0)) {
    const DWORD volume_error = ::GetLastError();
    return volume_error == ERROR_SUCCESS ? ERROR_NOT_READY : volume_error;
  }
  const std::lock_guard lock(volumes_lock_);
  if (volumes_answered_.size() >= kMostVolumesRemembered) volumes_answered_.clear();
  volumes_answered_[root] = ::GetTickCount64();
  return error;
}

bool FileDates::VolumeAnswers(const std::wstring& root) {
  const std::lock_guard lock(volumes_lock_);
  const auto answered = volumes_answered_.find(root);
  return answered != volumes_answered_.end() &&
         ::GetTickCount64() - answered->second < kVolumeAnswerFreshMs;
}

platform::DriveType FileDates::DriveTypeOf(const std::string& root) {
  const std::wstring wide = Utf8ToWide(root);
  return static_cast<platform::DriveType>(::GetDriveTypeW(root.empty() ? nullptr : wide.c_str()));
}

}  // namespace win32
