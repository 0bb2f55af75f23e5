// Dates as day counts since 1899/12/30 00:00:00 local time.
//
// The count is calendar arithmetic on local fields (no time zone inside a
// Date). Before the base day the integer part counts days backwards while the
// fraction still runs forward from midnight (-1.25 is 1899/12/29 06:00), the
// convention of the date type this format comes from.
#include "platform/dates.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace dovetam {

namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Days from 1970-01-01 to the given proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = yoe + era * 400;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y += m <= 2;
}

const int64_t kBaseDays = DaysFromCivil(1899, 12, 30);

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Seconds since the base moment -> Date.
Date DateFromSeconds(int64_t s) {
  const int64_t days = FloorDiv(s, kSecondsPerDay);
  const int64_t rest = s - days * kSecondsPerDay;
  const double frac = static_cast<double>(rest) / kSecondsPerDay;
  return days >= 0 ? static_cast<double>(days) + frac : static_cast<double>(days) - frac;
}

// Date -> seconds since the base moment, rounded to whole seconds.
int64_t SecondsFromDate(Date d) {
  const double whole = std::trunc(d);
  const double frac = std::fabs(d - whole);
  int64_t days = static_cast<int64_t>(whole);
  int64_t secs = std::llround(frac * kSecondsPerDay);
  return days * kSecondsPerDay + secs;
}

}  // namespace

Date DateFromUnixTime(std::time_t t) {
  std::tm tm{};
  if (localtime_r(&t, &tm) == nullptr) return 0;
  return MakeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

Date MakeDate(int year, int month, int day, int hour, int minute, int second) {
  int64_t m0 = static_cast<int64_t>(month) - 1;
  const int64_t y = year + FloorDiv(m0, 12);
  m0 -= FloorDiv(m0, 12) * 12;
  const int64_t days = DaysFromCivil(y, m0 + 1, 1) + (static_cast<int64_t>(day) - 1) - kBaseDays;
  const int64_t secs =
      static_cast<int64_t>(hour) * 3600 + static_cast<int64_t>(minute) * 60 + second;
  return DateFromSeconds(days * kSecondsPerDay + secs);
}

DateFields SplitDate(Date d) {
  const int64_t s = SecondsFromDate(d);
  const int64_t days = FloorDiv(s, kSecondsPerDay);
  const int64_t rest = s - days * kSecondsPerDay;
  DateFields f{};
  int64_t y = 0;
  CivilFromDays(days + kBaseDays, y, f.month, f.day);
  f.year = static_cast<int>(y);
  f.hour = static_cast<int>(rest / 3600);
  f.minute = static_cast<int>(rest / 60 % 60);
  f.second = static_cast<int>(rest % 60);
  // 1970-01-01 was a Thursday; 1 = Sunday.
  f.weekday = static_cast<int>(((days + kBaseDays + 4) % 7 + 7) % 7) + 1;
  return f;
}

std::u16string FormatDate(Date d) {
  const DateFields f = SplitDate(d);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d:%02d", f.year, f.month, f.day, f.hour,
                f.minute, f.second);
  std::u16string out;
  for (const char* p = buf; *p; ++p) out += static_cast<char16_t>(*p);
  return out;
}

}  // namespace dovetam
