#include "shared/date_time.h"

#include <cmath>

namespace wdx {
namespace {
// Days from 0001-03-01 style civil algorithm (Howard Hinnant's days_from_civil).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}
void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long yy = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}
const long long kEpoch = DaysFromCivil(1899, 12, 30);
}  // namespace

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

double EncodeDate(int year, int month, int day) {
  return static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpoch);
}

double EncodeTime(int hour, int minute, int second, int millisecond) {
  return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + millisecond) / 86400000.0;
}

double EncodeDateTime(const CivilDateTime& c) {
  double date = EncodeDate(c.year, c.month, c.day);
  double time = EncodeTime(c.hour, c.minute, c.second, c.millisecond);
  return date < 0 ? date - time : date + time;
}

CivilDateTime DecodeDateTime(double dt) {
  CivilDateTime c;
  double whole = std::trunc(dt);
  double frac = std::fabs(dt - whole);
  // Round to the millisecond so 0.5 days reads as 12:00:00.000, not 11:59:59.999.
  long long ms = std::llround(frac * 86400000.0);
  if (ms >= 86400000) {
    ms -= 86400000;
    whole += dt < 0 ? -1 : 1;
  }
  CivilFromDays(static_cast<long long>(whole) + kEpoch, c.year, c.month, c.day);
  c.hour = static_cast<int>(ms / 3600000);
  c.minute = static_cast<int>(ms / 60000 % 60);
  c.second = static_cast<int>(ms / 1000 % 60);
  c.millisecond = static_cast<int>(ms % 1000);
  return c;
}

int DayOfWeek(double dt) {
  // 1899-12-30 was a Saturday.
  long long days = static_cast<long long>(std::trunc(dt));
  long long r = ((days + 6) % 7 + 7) % 7;  // 0 = Sunday
  return static_cast<int>(r) + 1;
}

double SecondsOfDay(double dt) {
  CivilDateTime c = DecodeDateTime(dt);
  return c.hour * 3600.0 + c.minute * 60.0 + c.second + c.millisecond / 1000.0;
}

}  // namespace wdx
