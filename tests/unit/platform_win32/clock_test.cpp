// The real clock's day count against the calendar arithmetic the stored dates use.
#include <gtest/gtest.h>

#include "platform/win32/win32_system.h"
#include "platform/win32/windows_api.h"
#include "shared/date_time.h"

namespace wdx::platform {
namespace {

bool SameMoment(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
         a.wMinute == b.wMinute && a.wSecond == b.wSecond && a.wMilliseconds == b.wMilliseconds;
}

TEST(Win32ClockTest, NowIsTheLocalTimeAsTheStoredDayCount) {
  Win32Clock clock;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    const double now = clock.Now();
    GetLocalTime(&after);
    if (!SameMoment(before, after)) continue;  // the millisecond turned meanwhile
    EXPECT_EQ(now, EncodeDateTime(CivilDateTime{before.wYear, before.wMonth, before.wDay, before.wHour,
                                                before.wMinute, before.wSecond, before.wMilliseconds}));
    return;
  }
  FAIL() << "the local time never held still for one reading";
}

}  // namespace
}  // namespace wdx::platform
