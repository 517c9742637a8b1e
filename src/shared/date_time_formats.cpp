#include "shared/date_time_formats.h"

#include <array>
#include <cmath>
#include <optional>

#include "shared/date_time.h"
#include "shared/text_util.h"

namespace wdx {
namespace {

constexpr std::array<std::string_view, kDateFormatCount> kDateNames{
    "MM/DD/YY",      "MM-DD-YY",      "MM.DD.YY",       "MM/DD/YYYY",     "MM-DD-YYYY",    "MM.DD.YYYY",
    "DD/MM/YY",      "DD-MM-YY",      "DD.MM.YY",       "DD/MM/YYYY",     "DD-MM-YYYY",    "DD.MM.YYYY",
    "YY/MM/DD",      "YY-MM-DD",      "YY.MM.DD",       "YYYY/MM/DD",     "YYYY-MM-DD",    "YYYY.MM.DD",
    "MMM YYYY",      "Mmm YYYY",      "DD MMM YY",      "DD Mmm YY",      "DD MMM YYYY",   "DD Mmm YYYY",
    "DD Mmmmm YY",   "DD Mmmmm YYYY", "Mmm DD YY",      "Mmm DD, YY",     "Mmm DD YYYY",   "Mmm DD, YYYY",
    "Mmmmm DD YY",   "Mmmmm DD, YY",  "Mmmmm DD YYYY",  "Mmmmm DD, YYYY", "MMDDYY",        "MMDDYYYY",
    "DDMMYY",        "DDMMYYYY",      "YYMMDD",         "YYYYMMDD",       "DD",            "MM",
    "Mmm",           "MMM",           "Mmmmm",          "YY",             "YYYY",          "Day of Week 1",
    "Day of Week 2", "Day of Week 3", "Day of Week 4",
};

constexpr std::array<std::string_view, kTimeFormatCount> kTimeNames{
    "hh:mm",       "hh.mm",       "hh,mm",       "hhmm",        "hh:mm:ss",    "hh.mm.ss",    "hh,mm,ss",
    "hhmmss",      "hh",          "mm",          "ss",          "hh:mm am",    "hh.mm am",    "hh,mm am",
    "hh:mm:ss am", "hh.mm.ss am", "hh,mm,ss am", "hh:mm AM",    "hh.mm AM",    "hh,mm AM",    "hh:mm:ss AM",
    "hh.mm.ss AM", "hh,mm,ss AM", "hh:mma",      "hh.mma",      "hh,mma",
};

constexpr bool NamesFit() {
  for (auto n : kDateNames)
    if (n.size() > kDateTimeFormatNameMax) return false;
  for (auto n : kTimeNames)
    if (n.size() > kDateTimeFormatNameMax) return false;
  return true;
}
static_assert(NamesFit(), "format names are short strings of at most 15 characters");

// The format numbers at which the day-of-week formats and the 12-hour clock begin.
constexpr int kFirstDayOfWeekFormat = 48;
constexpr int kFirstTwelveHourFormat = 12;

constexpr std::array<std::string_view, 12> kMonthNames{"January", "February", "March",     "April",
                                                       "May",     "June",     "July",      "August",
                                                       "September", "October", "November", "December"};
constexpr std::array<std::string_view, 7> kDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                    "Thursday", "Friday", "Saturday"};

// Years 1..9999: the range the calendar arithmetic and the four-digit year are meant for.
const double kFirstDay = EncodeDate(1, 1, 1);
const double kLastDay = EncodeDate(9999, 12, 31);

std::optional<CivilDateTime> Decode(double dateTime) {
  if (!std::isfinite(dateTime) || dateTime <= kFirstDay - 1 || dateTime >= kLastDay + 1) return std::nullopt;
  CivilDateTime c = DecodeDateTime(dateTime);
  if (c.year < 1 || c.year > 9999) return std::nullopt;
  return c;
}

std::string Number(int value, std::size_t width, bool padded) {
  std::string s = std::to_string(value);
  if (padded && s.size() < width) s.insert(0, width - s.size(), '0');
  return s;
}

bool StartsWith(std::string_view s, std::size_t at, std::string_view token) {
  return s.substr(at, token.size()) == token;
}

std::string ComposeDate(std::string_view name, const CivilDateTime& d, bool zeros) {
  const std::string_view monthName = kMonthNames[static_cast<std::size_t>(d.month - 1)];
  std::string out;
  for (std::size_t i = 0; i < name.size();) {
    if (StartsWith(name, i, "YYYY")) {
      out += Number(d.year, 4, zeros), i += 4;
    } else if (StartsWith(name, i, "YY")) {
      out += Number(d.year, 4, true).substr(2, 2), i += 2;  // always two digits
    } else if (StartsWith(name, i, "Mmmmm")) {
      out += monthName, i += 5;
    } else if (StartsWith(name, i, "Mmm")) {
      out += monthName.substr(0, 3), i += 3;
    } else if (StartsWith(name, i, "MMM")) {
      out += UpperAscii(monthName.substr(0, 3)), i += 3;
    } else if (StartsWith(name, i, "MM")) {
      out += Number(d.month, 2, zeros), i += 2;
    } else if (StartsWith(name, i, "DD")) {
      out += Number(d.day, 2, zeros), i += 2;
    } else {
      out += name[i++];
    }
  }
  return out;
}

std::string ComposeTime(std::string_view name, const CivilDateTime& t, bool twelveHour, bool zeros) {
  int hour = t.hour;
  if (twelveHour) hour = hour == 0 ? 12 : (hour > 12 ? hour - 12 : hour);
  const bool morning = t.hour < 12;
  std::string out;
  for (std::size_t i = 0; i < name.size();) {
    if (StartsWith(name, i, "hh")) {
      out += Number(hour, 2, zeros), i += 2;
    } else if (StartsWith(name, i, "mm")) {
      out += Number(t.minute, 2, true), i += 2;
    } else if (StartsWith(name, i, "ss")) {
      out += Number(t.second, 2, true), i += 2;
    } else if (StartsWith(name, i, "am")) {
      out += morning ? "am" : "pm", i += 2;
    } else if (StartsWith(name, i, "AM")) {
      out += morning ? "AM" : "PM", i += 2;
    } else if (name[i] == 'a') {
      out += morning ? 'a' : 'p', i += 1;
    } else {
      out += name[i++];
    }
  }
  return out;
}

int MatchKeyword(std::string_view text, const auto& names) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string_view name = names[i];
    if (text.size() >= name.size() + 2 && text[0] == '<' && text.substr(1, name.size()) == name &&
        text[name.size() + 1] == '{')
      return static_cast<int>(i) + 1;
  }
  return 0;
}

// Monday, 30 March 1998, 15:04:23: the moment the editor's samples show.
double SampleMoment() { return EncodeDate(1998, 3, 30) + EncodeTime(15, 4, 23, 0); }

}  // namespace

std::string_view MonthName(int month) {
  return month >= 1 && month <= 12 ? kMonthNames[static_cast<std::size_t>(month - 1)] : std::string_view();
}

std::string_view DayName(int dayOfWeek) {
  return dayOfWeek >= 1 && dayOfWeek <= 7 ? kDayNames[static_cast<std::size_t>(dayOfWeek - 1)] : std::string_view();
}

std::string_view DateFormatName(int format) {
  if (format < 1 || format > kDateFormatCount) return {};
  return kDateNames[static_cast<std::size_t>(format - 1)];
}

std::string_view TimeFormatName(int format) {
  if (format < 1 || format > kTimeFormatCount) return {};
  return kTimeNames[static_cast<std::size_t>(format - 1)];
}

std::string FormatDate(int format, double dateTime, bool leadingZeros, int dayOffset) {
  if (DateFormatName(format).empty()) return {};
  const std::optional<CivilDateTime> now = Decode(dateTime);
  if (!now) return {};
  // Whole days from the calendar date itself, so the time of day (and the way dates before
  // 1899-12-30 store it) cannot pull the result onto a neighbouring day.
  const double day = EncodeDate(now->year, now->month, now->day) + dayOffset;
  const std::optional<CivilDateTime> d = Decode(day);
  if (!d) return {};
  if (format >= kFirstDayOfWeekFormat) {
    const std::string_view dayName = kDayNames[static_cast<std::size_t>(DayOfWeek(day) - 1)];
    switch (format - kFirstDayOfWeekFormat) {
      case 0: return std::string(dayName.substr(0, 3));
      case 1: return UpperAscii(dayName.substr(0, 3));
      case 2: return std::string(dayName);
      default: return UpperAscii(dayName);
    }
  }
  return ComposeDate(DateFormatName(format), *d, leadingZeros);
}

std::string FormatTime(int format, double dateTime, bool leadingZeros) {
  if (TimeFormatName(format).empty()) return {};
  const std::optional<CivilDateTime> now = Decode(dateTime);
  if (!now) return {};
  return ComposeTime(TimeFormatName(format), *now, format >= kFirstTwelveHourFormat, leadingZeros);
}

std::string DateFormatSample(int format) { return FormatDate(format, SampleMoment(), true); }

std::string TimeFormatSample(int format) { return FormatTime(format, SampleMoment(), false); }

int MatchDateTagKeyword(std::string_view text) { return MatchKeyword(text, kDateNames); }

int MatchTimeTagKeyword(std::string_view text) { return MatchKeyword(text, kTimeNames); }

}  // namespace wdx
