#include "shared/date_time.h"

#include <gtest/gtest.h>

namespace wdx {
namespace {

TEST(DateTime, KnownDayCounts) {
  struct Case { int y, m, d; double days; } cases[] = {
      {1899, 12, 30, 0}, {1899, 12, 31, 1}, {1900, 1, 1, 2}, {1900, 3, 1, 61},
      {2000, 1, 1, 36526}, {2026, 12, 10, 46366}, {1899, 12, 29, -1},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(EncodeDate(c.y, c.m, c.d), c.days) << c.y << "-" << c.m << "-" << c.d;
    CivilDateTime back = DecodeDateTime(c.days);
    EXPECT_EQ(back.year, c.y);
    EXPECT_EQ(back.month, c.m);
    EXPECT_EQ(back.day, c.d);
  }
}

TEST(DateTime, TimeOfDayRoundTripsToTheMillisecond) {
  CivilDateTime c{2024, 2, 29, 23, 59, 58, 999};
  CivilDateTime back = DecodeDateTime(EncodeDateTime(c));
  EXPECT_EQ(back.year, 2024);
  EXPECT_EQ(back.month, 2);
  EXPECT_EQ(back.day, 29);
  EXPECT_EQ(back.hour, 23);
  EXPECT_EQ(back.minute, 59);
  EXPECT_EQ(back.second, 58);
  EXPECT_EQ(back.millisecond, 999);
  EXPECT_DOUBLE_EQ(SecondsOfDay(EncodeDateTime(c)), 86398.999);
  // Negative day counts carry the time as a positive fraction.
  CivilDateTime neg = DecodeDateTime(-1.25);
  EXPECT_EQ(neg.day, 29);
  EXPECT_EQ(neg.hour, 6);
}

TEST(DateTime, DayOfWeekSundayIsOne) {
  EXPECT_EQ(DayOfWeek(0), 7);                         // 1899-12-30 Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 13)), 1);  // Sunday
  EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 10)), 5);  // Thursday
  EXPECT_EQ(DayOfWeek(-1), 6);
}

}  // namespace
}  // namespace wdx
