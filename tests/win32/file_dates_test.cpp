// win32::FileDates: the local last-write date of files made with known times.

#include "platform/win32/file_dates.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/utf.h"
#include "test_support.h"

namespace {

constexpr ULONGLONG kTicksPerMinute = 60ULL * 10'000'000ULL;

ULONGLONG Ticks(const FILETIME& time) {
  return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME FromTicks(ULONGLONG ticks) {
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

FILETIME FileTimeOf(int year, int month, int day, int hour, int minute) {
  SYSTEMTIME system{};
  system.wYear = static_cast<WORD>(year);
  system.wMonth = static_cast<WORD>(month);
  system.wDay = static_cast<WORD>(day);
  system.wHour = static_cast<WORD>(hour);
  system.wMinute = static_cast<WORD>(minute);
  FILETIME file{};
  ::SystemTimeToFileTime(&system, &file);
  return file;
}

// The UTC time that local conversion turns into the given local time, with the offset that
// conversion applies now (FileTimeToLocalFileTime ignores the date's own daylight saving).
FILETIME UtcForLocal(int year, int month, int day, int hour, int minute) {
  const FILETIME wanted = FileTimeOf(year, month, day, hour, minute);
  FILETIME local{};
  ::FileTimeToLocalFileTime(&wanted, &local);
  const auto offset = static_cast<LONGLONG>(Ticks(local) - Ticks(wanted));
  return FromTicks(Ticks(wanted) - offset);
}

bool MakeFile(const std::filesystem::path& path, const FILETIME& last_write) {
  { std::ofstream(path) << "x"; }
  const win32_test::UniqueFileHandle file(
      ::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return false;
  return ::SetFileTime(file.get(), nullptr, nullptr, &last_write) != FALSE;
}

std::string Utf8(const std::filesystem::path& path) {
  return win32::WideToUtf8(path.wstring());
}

TEST(FileDatesTest, GivesTheLocalDateOfTheLastWrite) {
  struct Case {
    const char* label;
    FILETIME last_write;
    std::optional<platform::Date> expected;
  };
  const std::vector<Case> cases = {
      {"just after local midnight", UtcForLocal(2020, 2, 29, 0, 30), platform::Date{2020, 2, 29}},
      {"just before local midnight", UtcForLocal(2020, 2, 28, 23, 30), platform::Date{2020, 2, 28}},
      {"first DOS day", UtcForLocal(1980, 1, 1, 12, 0), platform::Date{1980, 1, 1}},
      {"last DOS day", UtcForLocal(2107, 12, 31, 12, 0), platform::Date{2107, 12, 31}},
      {"before the DOS range", UtcForLocal(1979, 12, 31, 12, 0), std::nullopt},
      {"after the DOS range", UtcForLocal(2108, 1, 1, 12, 0), std::nullopt},
  };
  const win32_test::ScratchDir dir;
  win32::FileDates dates;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const auto path = dir.path() / "file.txt";
    ASSERT_TRUE(MakeFile(path, c.last_write));
    const std::optional<platform::Date> date = dates.LastWriteDate(Utf8(path));
    ASSERT_EQ(date.has_value(), c.expected.has_value());
    if (!date) continue;
    EXPECT_EQ(date->year, c.expected->year);
    EXPECT_EQ(date->month, c.expected->month);
    EXPECT_EQ(date->day, c.expected->day);
  }
}

TEST(FileDatesTest, NamesAreUnicodeAndOnlyFilesCount) {
  const win32_test::ScratchDir dir;
  const auto unicode = dir.path() / L"Ärger 日本 & co.exe";
  ASSERT_TRUE(MakeFile(unicode, UtcForLocal(2015, 7, 4, 12, 0)));
  std::filesystem::create_directory(dir.path() / "folder");
  win32::FileDates dates;

  const std::optional<platform::Date> date = dates.LastWriteDate(Utf8(unicode));
  ASSERT_TRUE(date.has_value());
  EXPECT_EQ(date->year, 2015);
  EXPECT_EQ(date->month, 7);
  EXPECT_EQ(date->day, 4);
  EXPECT_FALSE(dates.LastWriteDate(Utf8(dir.path() / "folder")).has_value());
  EXPECT_FALSE(dates.LastWriteDate(Utf8(dir.path() / "missing.exe")).has_value());
  EXPECT_FALSE(dates.LastWriteDate("").has_value());
}

}  // namespace
