#include "platform/win32/file_dates.h"

#include <windows.h>

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

bool FileDates::FileExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = ::GetFileAttributesW(Utf8ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

platform::DriveType FileDates::DriveTypeOf(const std::string& root) {
  const std::wstring wide = Utf8ToWide(root);
  return static_cast<platform::DriveType>(::GetDriveTypeW(root.empty() ? nullptr : wide.c_str()));
}

}  // namespace win32
