// Dates as the program counts them: days since 1899/12/30 00:00:00 local time,
// whole seconds in the fraction; 0 means "not read".
#pragma once

#include <ctime>
#include <string>

namespace dovetam {

using Date = double;

// Local time of a Unix time stamp as a Date.
Date DateFromUnixTime(std::time_t t);
// Builds a Date from local calendar fields (month 1-12); fields out of range
// roll over as the calendar does.
Date MakeDate(int year, int month, int day, int hour, int minute, int second);
// The calendar fields of a date (local time, rounded to whole seconds).
struct DateFields { int year, month, day, hour, minute, second, weekday; /* 1 = Sunday */ };
DateFields SplitDate(Date d);
// "yyyy/mm/dd hh:nn:ss"
std::u16string FormatDate(Date d);

}  // namespace dovetam
