#include "shared/date_time_formats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "shared/date_time.h"

namespace wdx {
namespace {

double At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return EncodeDate(y, mo, d) + EncodeTime(h, mi, s, 0); }

// Every date format on Sunday 5 March 2000 (single-digit day and month), with and without
// leading zeros; the time of day must not matter.
TEST(DateFormats, EveryFormatOnASundayInMarch) {
  struct Case {
    int format;
    const char* name;
    const char* zeros;
    const char* noZeros;
  } cases[] = {
      {1, "MM/DD/YY", "03/05/00", "3/5/00"},
      {2, "MM-DD-YY", "03-05-00", "3-5-00"},
      {3, "MM.DD.YY", "03.05.00", "3.5.00"},
      {4, "MM/DD/YYYY", "03/05/2000", "3/5/2000"},
      {5, "MM-DD-YYYY", "03-05-2000", "3-5-2000"},
      {6, "MM.DD.YYYY", "03.05.2000", "3.5.2000"},
      {7, "DD/MM/YY", "05/03/00", "5/3/00"},
      {8, "DD-MM-YY", "05-03-00", "5-3-00"},
      {9, "DD.MM.YY", "05.03.00", "5.3.00"},
      {10, "DD/MM/YYYY", "05/03/2000", "5/3/2000"},
      {11, "DD-MM-YYYY", "05-03-2000", "5-3-2000"},
      {12, "DD.MM.YYYY", "05.03.2000", "5.3.2000"},
      {13, "YY/MM/DD", "00/03/05", "00/3/5"},
      {14, "YY-MM-DD", "00-03-05", "00-3-5"},
      {15, "YY.MM.DD", "00.03.05", "00.3.5"},
      {16, "YYYY/MM/DD", "2000/03/05", "2000/3/5"},
      {17, "YYYY-MM-DD", "2000-03-05", "2000-3-5"},
      {18, "YYYY.MM.DD", "2000.03.05", "2000.3.5"},
      {19, "MMM YYYY", "MAR 2000", "MAR 2000"},
      {20, "Mmm YYYY", "Mar 2000", "Mar 2000"},
      {21, "DD MMM YY", "05 MAR 00", "5 MAR 00"},
      {22, "DD Mmm YY", "05 Mar 00", "5 Mar 00"},
      {23, "DD MMM YYYY", "05 MAR 2000", "5 MAR 2000"},
      {24, "DD Mmm YYYY", "05 Mar 2000", "5 Mar 2000"},
      {25, "DD Mmmmm YY", "05 March 00", "5 March 00"},
      {26, "DD Mmmmm YYYY", "05 March 2000", "5 March 2000"},
      {27, "Mmm DD YY", "Mar 05 00", "Mar 5 00"},
      {28, "Mmm DD, YY", "Mar 05, 00", "Mar 5, 00"},
      {29, "Mmm DD YYYY", "Mar 05 2000", "Mar 5 2000"},
      {30, "Mmm DD, YYYY", "Mar 05, 2000", "Mar 5, 2000"},
      {31, "Mmmmm DD YY", "March 05 00", "March 5 00"},
      {32, "Mmmmm DD, YY", "March 05, 00", "March 5, 00"},
      {33, "Mmmmm DD YYYY", "March 05 2000", "March 5 2000"},
      {34, "Mmmmm DD, YYYY", "March 05, 2000", "March 5, 2000"},
      {35, "MMDDYY", "030500", "3500"},
      {36, "MMDDYYYY", "03052000", "352000"},
      {37, "DDMMYY", "050300", "5300"},
      {38, "DDMMYYYY", "05032000", "532000"},
      {39, "YYMMDD", "000305", "0035"},
      {40, "YYYYMMDD", "20000305", "200035"},
      {41, "DD", "05", "5"},
      {42, "MM", "03", "3"},
      {43, "Mmm", "Mar", "Mar"},
      {44, "MMM", "MAR", "MAR"},
      {45, "Mmmmm", "March", "March"},
      {46, "YY", "00", "00"},
      {47, "YYYY", "2000", "2000"},
      {48, "Day of Week 1", "Sun", "Sun"},
      {49, "Day of Week 2", "SUN", "SUN"},
      {50, "Day of Week 3", "Sunday", "Sunday"},
      {51, "Day of Week 4", "SUNDAY", "SUNDAY"},
  };
  ASSERT_EQ(std::size(cases), static_cast<std::size_t>(kDateFormatCount));
  for (const auto& c : cases) {
    EXPECT_EQ(DateFormatName(c.format), c.name);
    EXPECT_EQ(FormatDate(c.format, At(2000, 3, 5), true), c.zeros) << c.name;
    EXPECT_EQ(FormatDate(c.format, At(2000, 3, 5), false), c.noZeros) << c.name;
    EXPECT_EQ(FormatDate(c.format, At(2000, 3, 5, 23, 59, 59), false), c.noZeros) << c.name;
  }
}

// Every time format at 9:05:07 and, with leading zeros, at 21:05:07.
TEST(TimeFormats, EveryFormatMorningAndEvening) {
  struct Case {
    int format;
    const char* name;
    const char* zeros;
    const char* noZeros;
    const char* eveningZeros;
  } cases[] = {
      {1, "hh:mm", "09:05", "9:05", "21:05"},
      {2, "hh.mm", "09.05", "9.05", "21.05"},
      {3, "hh,mm", "09,05", "9,05", "21,05"},
      {4, "hhmm", "0905", "905", "2105"},
      {5, "hh:mm:ss", "09:05:07", "9:05:07", "21:05:07"},
      {6, "hh.mm.ss", "09.05.07", "9.05.07", "21.05.07"},
      {7, "hh,mm,ss", "09,05,07", "9,05,07", "21,05,07"},
      {8, "hhmmss", "090507", "90507", "210507"},
      {9, "hh", "09", "9", "21"},
      {10, "mm", "05", "05", "05"},
      {11, "ss", "07", "07", "07"},
      {12, "hh:mm am", "09:05 am", "9:05 am", "09:05 pm"},
      {13, "hh.mm am", "09.05 am", "9.05 am", "09.05 pm"},
      {14, "hh,mm am", "09,05 am", "9,05 am", "09,05 pm"},
      {15, "hh:mm:ss am", "09:05:07 am", "9:05:07 am", "09:05:07 pm"},
      {16, "hh.mm.ss am", "09.05.07 am", "9.05.07 am", "09.05.07 pm"},
      {17, "hh,mm,ss am", "09,05,07 am", "9,05,07 am", "09,05,07 pm"},
      {18, "hh:mm AM", "09:05 AM", "9:05 AM", "09:05 PM"},
      {19, "hh.mm AM", "09.05 AM", "9.05 AM", "09.05 PM"},
      {20, "hh,mm AM", "09,05 AM", "9,05 AM", "09,05 PM"},
      {21, "hh:mm:ss AM", "09:05:07 AM", "9:05:07 AM", "09:05:07 PM"},
      {22, "hh.mm.ss AM", "09.05.07 AM", "9.05.07 AM", "09.05.07 PM"},
      {23, "hh,mm,ss AM", "09,05,07 AM", "9,05,07 AM", "09,05,07 PM"},
      {24, "hh:mma", "09:05a", "9:05a", "09:05p"},
      {25, "hh.mma", "09.05a", "9.05a", "09.05p"},
      {26, "hh,mma", "09,05a", "9,05a", "09,05p"},
  };
  ASSERT_EQ(std::size(cases), static_cast<std::size_t>(kTimeFormatCount));
  for (const auto& c : cases) {
    EXPECT_EQ(TimeFormatName(c.format), c.name);
    EXPECT_EQ(FormatTime(c.format, At(2000, 3, 5, 9, 5, 7), true), c.zeros) << c.name;
    EXPECT_EQ(FormatTime(c.format, At(2000, 3, 5, 9, 5, 7), false), c.noZeros) << c.name;
    EXPECT_EQ(FormatTime(c.format, At(2000, 3, 5, 21, 5, 7), true), c.eveningZeros) << c.name;
  }
}

TEST(DateFormats, DayOffsetsCrossMonthAndYearEnds) {
  struct Case {
    int format;
    double day;
    int offset;
    bool zeros;
    const char* text;
  } cases[] = {
      {1, At(2000, 2, 28), 1, true, "02/29/00"},   // leap day
      {1, At(2000, 2, 28), 2, true, "03/01/00"},
      {1, At(1999, 2, 28), 1, false, "3/1/99"},    // no leap day
      {1, At(2000, 3, 1), -1, true, "02/29/00"},
      {17, At(1999, 12, 31, 18), 1, true, "2000-01-01"},
      {17, At(2000, 1, 1, 6), -1, false, "1999-12-31"},
      {26, At(2000, 1, 31), 30, false, "1 March 2000"},
      {17, At(2000, 3, 5), 999, true, "2002-11-29"},
      {17, At(2000, 3, 5), -999, true, "1997-06-10"},
      {50, At(2000, 3, 5), -1, true, "Saturday"},  // Sunday a day back
      {48, At(2000, 3, 5), 6, true, "Sat"},
      {51, At(2000, 3, 5), 1, false, "MONDAY"},
      {46, At(2005, 6, 7), 0, false, "05"},        // the short year keeps its zero
      {35, At(2005, 10, 12), 0, false, "101205"},  // two-digit month and day stay whole
      {4, At(999, 1, 2), 0, true, "01/02/0999"},
      {4, At(999, 1, 2), 0, false, "1/2/999"},
      {1, At(999, 1, 2), 0, false, "1/2/99"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatDate(c.format, c.day, c.zeros, c.offset), c.text) << DateFormatName(c.format) << " " << c.offset;
}

TEST(TimeFormats, MidnightNoonAndTheTwelveHourClock) {
  struct Case {
    int format;
    int h, m, s;
    bool zeros;
    const char* text;
  } cases[] = {
      {12, 0, 30, 0, false, "12:30 am"},
      {12, 12, 30, 0, false, "12:30 pm"},
      {12, 13, 30, 0, false, "1:30 pm"},
      {12, 11, 59, 59, true, "11:59 am"},
      {21, 0, 0, 0, true, "12:00:00 AM"},
      {21, 12, 0, 0, true, "12:00:00 PM"},
      {24, 23, 59, 0, false, "11:59p"},
      {1, 0, 0, 0, true, "00:00"},
      {1, 0, 0, 0, false, "0:00"},
      {8, 0, 0, 9, false, "00009"},
      {9, 7, 3, 0, false, "7"},
      {10, 7, 3, 0, false, "03"},
      {5, 23, 59, 59, false, "23:59:59"},
      {5, 12, 0, 0, false, "12:00:00"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatTime(c.format, At(2000, 3, 5, c.h, c.m, c.s), c.zeros), c.text)
        << TimeFormatName(c.format) << " at " << c.h << ":" << c.m << ":" << c.s;
}

TEST(DateTimeFormats, EditorSamplesShowMonday30March1998At150423) {
  EXPECT_EQ(DateFormatSample(1), "03/30/98");
  EXPECT_EQ(DateFormatSample(12), "30.03.1998");
  EXPECT_EQ(DateFormatSample(34), "March 30, 1998");
  EXPECT_EQ(DateFormatSample(48), "Mon");
  EXPECT_EQ(DateFormatSample(49), "MON");
  EXPECT_EQ(DateFormatSample(50), "Monday");
  EXPECT_EQ(DateFormatSample(51), "MONDAY");
  EXPECT_EQ(TimeFormatSample(1), "15:04");
  EXPECT_EQ(TimeFormatSample(15), "3:04:23 pm");
  EXPECT_EQ(TimeFormatSample(24), "3:04p");
  for (int f = 1; f <= kDateFormatCount; ++f) {
    EXPECT_FALSE(DateFormatSample(f).empty()) << f;
    EXPECT_LE(DateFormatSample(f).size(), kDateTimeFormatNameMax) << DateFormatName(f);
  }
  for (int f = 1; f <= kTimeFormatCount; ++f) {
    EXPECT_FALSE(TimeFormatSample(f).empty()) << f;
    EXPECT_LE(TimeFormatSample(f).size(), kDateTimeFormatNameMax) << TimeFormatName(f);
  }
}

TEST(DateTimeFormats, TagKeywordsMatchInTableOrderAndCase) {
  struct Case {
    const char* text;
    int date;
    int time;
  } cases[] = {
      {"<MM/DD/YY{Y}>", 1, 0},
      {"<MM/DD/YYYY{YF000}>", 4, 0},
      {"<MM{Y}>", 42, 0},
      {"<mm{Y}>", 0, 10},
      {"<Day of Week 3{YP001}>", 50, 0},
      {"<hh:mm am{Y}>", 0, 12},
      {"<hh:mma{N}05>", 0, 24},
      {"<hhmmss{N}12>", 0, 8},
      {"<MM/DD/YY>", 0, 0},  // no "{": typed as text
      {"<MM/DD/YY", 0, 0},
      {"MM/DD/YY{", 0, 0},
      {"<mm/dd/yy{Y}>", 0, 0},
      {"", 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchDateTagKeyword(c.text), c.date) << c.text;
    EXPECT_EQ(MatchTimeTagKeyword(c.text), c.time) << c.text;
  }
  // Every name's own keyword finds that name: no earlier name shadows a later one.
  for (int f = 1; f <= kDateFormatCount; ++f)
    EXPECT_EQ(MatchDateTagKeyword("<" + std::string(DateFormatName(f)) + "{"), f);
  for (int f = 1; f <= kTimeFormatCount; ++f)
    EXPECT_EQ(MatchTimeTagKeyword("<" + std::string(TimeFormatName(f)) + "{"), f);
}

TEST(DateTimeFormats, OutOfRangeInputsGiveNoText) {
  const double now = At(2000, 3, 5, 9, 5, 7);
  EXPECT_EQ(FormatDate(0, now, true), "");
  EXPECT_EQ(FormatDate(52, now, true), "");
  EXPECT_EQ(FormatTime(0, now, true), "");
  EXPECT_EQ(FormatTime(27, now, true), "");
  EXPECT_EQ(DateFormatName(0), "");
  EXPECT_EQ(TimeFormatName(27), "");
  for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300,
                     -1e300, EncodeDate(10000, 1, 1), EncodeDate(0, 12, 31)}) {
    EXPECT_EQ(FormatDate(1, bad, true), "") << bad;
    EXPECT_EQ(FormatTime(1, bad, true), "") << bad;
  }
  EXPECT_EQ(FormatDate(1, At(9999, 12, 31), true, 1), "");
  EXPECT_EQ(FormatDate(47, At(9999, 12, 31), true), "9999");
  EXPECT_EQ(FormatDate(4, At(1, 1, 1), true), "01/01/0001");
}

}  // namespace
}  // namespace wdx
