#include "app/listing/listed_date.h"

#include <array>
#include <cstdio>

namespace app {
namespace {

constexpr std::size_t kYearDigits = 4;
constexpr std::size_t kMonthDigits = 2;
constexpr std::size_t kDayDigits = 2;
constexpr std::size_t kDateDigits = kYearDigits + kMonthDigits + kDayDigits;
constexpr int kDecimalBase = 10;
constexpr int kMonths = 12;
constexpr int kFebruary = 2;
constexpr std::array<int, kMonths> kDaysInMonth = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

std::optional<int> DecimalOf(std::string_view digits) {
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * kDecimalBase + (c - '0');
  }
  return value;
}

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysIn(int year, int month) {
  const int days = kDaysInMonth[static_cast<std::size_t>(month - 1)];
  return month == kFebruary && IsLeapYear(year) ? days + 1 : days;
}

}  // namespace

std::optional<ListedDate> ListedDateOf(std::string_view yyyymmdd, DateSource source) {
  if (yyyymmdd.size() != kDateDigits) return std::nullopt;
  const auto year = DecimalOf(yyyymmdd.substr(0, kYearDigits));
  const auto month = DecimalOf(yyyymmdd.substr(kYearDigits, kMonthDigits));
  const auto day = DecimalOf(yyyymmdd.substr(kYearDigits + kMonthDigits, kDayDigits));
  if (!year || !month || !day) return std::nullopt;
  if (*month < 1 || *month > kMonths) return std::nullopt;
  if (*day < 1 || *day > DaysIn(*year, *month)) return std::nullopt;
  return ListedDate{*year, *month, *day, source};
}

std::string DayText(const ListedDate& date) {
  // Room for the widest ints, so that no value can be cut.
  std::array<char, 48> text{};
  std::snprintf(text.data(), text.size(), "%04d-%02d-%02d", date.year, date.month, date.day);
  return text.data();
}

}  // namespace app
