// The fixed date and time formats a macro can type: 51 date formats and 26 time formats. Each
// name is also the keyword of its tag ("<MM/DD/YY{", "<hh:mm am{"), so the player's interpreter
// and the editor's dialogs and script parser share this one table and its formatting.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wdx {

constexpr int kDateFormatCount = 51;
constexpr int kTimeFormatCount = 26;
// Names and samples are kept as short strings of at most this many characters.
constexpr std::size_t kDateTimeFormatNameMax = 15;

// The English names of month 1..12 and of day 1 (Sunday) .. 7; empty outside.
std::string_view MonthName(int month);
std::string_view DayName(int dayOfWeek);

// Format numbers are 1-based within their table; empty outside 1..51 / 1..26.
std::string_view DateFormatName(int format);
std::string_view TimeFormatName(int format);

// The date of `dateTime` (day count since 1899-12-30) moved by whole days (negative = earlier),
// in date format 1..51. Without leading zeros the month, the day and a short year lose their
// padding; the two-digit year always keeps two digits. Month and day names are English.
// Empty for a format outside 1..51 or a date outside the years 1..9999.
std::string FormatDate(int format, double dateTime, bool leadingZeros, int dayOffset = 0);

// The time of day of `dateTime` in time format 1..26 (1..11 on the 24-hour clock, 12..26 on the
// 12-hour clock with an am/pm marker). Without leading zeros only the hour loses its padding.
// Empty for a format outside 1..26 or a date-time outside the years 1..9999.
std::string FormatTime(int format, double dateTime, bool leadingZeros);

// The sample the editor shows beside each name: the format applied to Monday, 30 March 1998,
// 15:04:23 ("03/30/98", "March 30, 1998", "15:04", "3:04:23 pm", "3:04p").
std::string DateFormatSample(int format);
std::string TimeFormatSample(int format);

// The date (time) format whose keyword "<" + name + "{" starts `text`, trying the table in order
// and comparing case-sensitively ("<MM{" is a month, "<mm{" minutes); 0 when none does. The
// keyword is DateFormatName(n).size() + 2 characters long.
int MatchDateTagKeyword(std::string_view text);
int MatchTimeTagKeyword(std::string_view text);

}  // namespace wdx
