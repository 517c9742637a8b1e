// The stored date-time: a double counting days since 1899-12-30 00:00, the fraction being the
// time of day. Dates before that day are negative with the time of day as a positive fraction
// (-1.25 is 1899-12-29 06:00), the format the library and settings files have always used.
#pragma once

#include <cstdint>

namespace wdx {

struct CivilDateTime {
  int year = 1899;
  int month = 12;  // 1..12
  int day = 30;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// Day count of a calendar date (proleptic Gregorian).
double EncodeDate(int year, int month, int day);
// Fraction of a day for a time of day.
double EncodeTime(int hour, int minute, int second, int millisecond);
double EncodeDateTime(const CivilDateTime& c);
CivilDateTime DecodeDateTime(double dt);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(double dt);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Seconds since midnight with milliseconds, the clock of the polled waits.
double SecondsOfDay(double dt);

}  // namespace wdx
