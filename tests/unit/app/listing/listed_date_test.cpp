// The catalogue's dates as days a script can read: only days of the calendar are taken.

#include "app/listing/listed_date.h"

#include <gtest/gtest.h>

namespace {

TEST(ListedDate, OnlyADayOfTheCalendarIsTaken) {
  const char* const days[][2] = {{"20230501", "2023-05-01"},
                                 {"20240229", "2024-02-29"},
                                 {"20000229", "2000-02-29"},
                                 {"00011231", "0001-12-31"}};
  for (const auto& day : days) {
    const auto date = app::ListedDateOf(day[0], app::DateSource::kInstallDateValue);
    EXPECT_EQ(date ? app::DayText(*date) : "", day[1]) << day[0];
  }
  const char* const refused[] = {"19000229", "20230229", "20230431",  "20231301", "20230100",
                                 "20230001", "2023051",  "202305011", "2023-5-1", "2023050a"};
  for (const char* text : refused) {
    EXPECT_FALSE(app::ListedDateOf(text, app::DateSource::kFileDate)) << text;
  }
}

}  // namespace
