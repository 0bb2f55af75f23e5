// Dates as day counts since 1899/12/30 and their text form.
#include "platform/dates.h"

#include <gtest/gtest.h>

namespace dovetam {
namespace {

struct DateCase {
  const char* name;
  Date date;
  const char16_t* text;
};
void PrintTo(const DateCase& c, std::ostream* os) { *os << c.name; }


class FormatDateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(FormatDateTest, Formats) { EXPECT_EQ(GetParam().text, FormatDate(GetParam().date)); }

INSTANTIATE_TEST_SUITE_P(
    Dates, FormatDateTest,
    ::testing::Values(DateCase{"NotRead", 0, u"1899/12/30 00:00:00"},
                      DateCase{"OneDay", 1, u"1899/12/31 00:00:00"},
                      DateCase{"Noon", 0.5, u"1899/12/30 12:00:00"},
                      DateCase{"Y2K", 36526, u"2000/01/01 00:00:00"},
                      DateCase{"LeapDay", 36585 + 0.75, u"2000/02/29 18:00:00"},
                      DateCase{"AlmostMidnightRoundsUp", 36526 - 0.1 / 86400, u"2000/01/01 00:00:00"},
                      DateCase{"OneSecondBeforeMidnight", 36526 - 1.0 / 86400, u"1999/12/31 23:59:59"},
                      DateCase{"BeforeBaseDay", -1.25, u"1899/12/29 06:00:00"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MakeDateTest, FieldsRollOverAsTheCalendarDoes) {
  struct Row {
    const char* name;
    int y, mo, d, h, mi, s;
    const char16_t* text;
  };
  const Row rows[] = {
      {"Plain", 2024, 3, 15, 9, 5, 7, u"2024/03/15 09:05:07"},
      {"Month13", 2023, 13, 1, 0, 0, 0, u"2024/01/01 00:00:00"},
      {"Month0", 2024, 0, 1, 0, 0, 0, u"2023/12/01 00:00:00"},
      {"Day0", 2024, 3, 0, 0, 0, 0, u"2024/02/29 00:00:00"},
      {"Day32", 2023, 1, 32, 0, 0, 0, u"2023/02/01 00:00:00"},
      {"Hour24", 2023, 12, 31, 24, 0, 0, u"2024/01/01 00:00:00"},
      {"NegativeSecond", 2024, 1, 1, 0, 0, -1, u"2023/12/31 23:59:59"},
      {"Minute90", 2024, 1, 1, 0, 90, 0, u"2024/01/01 01:30:00"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(r.text, FormatDate(MakeDate(r.y, r.mo, r.d, r.h, r.mi, r.s)));
  }
}

TEST(SplitDateTest, GivesFieldsAndWeekday) {
  const DateFields f = SplitDate(MakeDate(2024, 2, 29, 13, 14, 15));
  EXPECT_EQ(2024, f.year);
  EXPECT_EQ(2, f.month);
  EXPECT_EQ(29, f.day);
  EXPECT_EQ(13, f.hour);
  EXPECT_EQ(14, f.minute);
  EXPECT_EQ(15, f.second);
  EXPECT_EQ(5, f.weekday);  // Thursday
  EXPECT_EQ(7, SplitDate(0).weekday);  // 1899/12/30 was a Saturday
  EXPECT_EQ(1, SplitDate(MakeDate(2000, 1, 2, 0, 0, 0)).weekday);  // Sunday
}

TEST(DateFromUnixTimeTest, UsesLocalTime) {
  const std::time_t t = 1700000000;
  std::tm tm{};
  localtime_r(&t, &tm);
  EXPECT_EQ(MakeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec),
            DateFromUnixTime(t));
}

}  // namespace
}  // namespace dovetam
