// The user's date and time formats as Windows gives them, and our writing of them agreeing with
// Windows' own.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_regional_formats.h"
#include "shared/date_pictures.h"

namespace wdx::platform {
namespace {

TEST(Win32RegionalFormatsTest, WrittenAsWindowsWritesThem) {
  Win32RegionalFormats regional;
  const DateTimeFormats f = regional.DateTime();
  EXPECT_FALSE(f.shortDate.empty());
  EXPECT_FALSE(f.longTime.empty());
  for (const CivilDateTime& c : {CivilDateTime{2024, 3, 5, 14, 7, 9, 0}, CivilDateTime{1998, 12, 30, 0, 5, 0, 0},
                                 CivilDateTime{2031, 10, 1, 9, 59, 59, 0}}) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(c.year);
    st.wMonth = static_cast<WORD>(c.month);
    st.wDay = static_cast<WORD>(c.day);
    st.wDayOfWeek = static_cast<WORD>(DayOfWeek(EncodeDate(c.year, c.month, c.day)) - 1);
    st.wHour = static_cast<WORD>(c.hour);
    st.wMinute = static_cast<WORD>(c.minute);
    st.wSecond = static_cast<WORD>(c.second);
    char date[128] = {};
    char time[128] = {};
    ASSERT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, sizeof date), 0);
    ASSERT_GT(GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, sizeof time), 0);
    EXPECT_EQ(FormatPicture(c, f.shortDate, f), date) << f.shortDate;
    EXPECT_EQ(FormatPicture(c, f.longTime, f), time) << f.longTime;
  }
}

}  // namespace
}  // namespace wdx::platform
