#pragma once

// The day a listed program was installed, as the "Recent Programs" list dates it: its
// "InstallDate" value, or else the date of its uninstaller's or icon's file.

#include <optional>
#include <string>
#include <string_view>

namespace app {

enum class DateSource {
  kInstallDateValue,  // the entry's "InstallDate"
  kFileDate,          // the last write of a file the entry names
};

struct ListedDate {
  int year = 0;
  int month = 0;
  int day = 0;
  DateSource source = DateSource::kInstallDateValue;
};

// The catalogue's "yyyymmdd" as a day. None unless it is a day of the calendar: an
// "InstallDate" of "20231399" sorts among the recent programs, but no script could read it as
// a date.
std::optional<ListedDate> ListedDateOf(std::string_view yyyymmdd, DateSource source);

// "yyyy-mm-dd".
std::string DayText(const ListedDate& date);

}  // namespace app
