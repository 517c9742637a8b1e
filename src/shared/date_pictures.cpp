#include "shared/date_pictures.h"

#include <algorithm>
#include <cstdio>

#include "shared/date_time_formats.h"

namespace wdx {

namespace {

void AppendNumber(std::string& out, int value, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", digits, value);
  out += buf;
}

// d and M: one or two letters the number, three the name's first three letters, four the name.
void AppendNumberOrName(std::string& out, std::size_t count, int number, std::string_view name) {
  if (count >= 3) {
    out += count == 3 ? name.substr(0, 3) : name;
  } else {
    AppendNumber(out, number, static_cast<int>(count));
  }
}

// A letter repeated `count` times: its part of the date or time.
void AppendField(std::string& out, char letter, std::size_t count, const CivilDateTime& c,
                 const platform::DateTimeFormats& f) {
  const int width = count >= 2 ? 2 : 1;
  switch (letter) {
    case 'd':
      AppendNumberOrName(out, count, c.day, DayName(DayOfWeek(EncodeDate(c.year, c.month, c.day))));
      break;
    case 'M':
      AppendNumberOrName(out, count, c.month, MonthName(c.month));
      break;
    case 'y':
      if (count >= 3) {
        AppendNumber(out, c.year, 4);
      } else {
        AppendNumber(out, c.year % 100, width);
      }
      break;
    case 'g':
      out += "A.D.";
      break;
    case 'h':
      AppendNumber(out, c.hour % 12 == 0 ? 12 : c.hour % 12, width);
      break;
    case 'H':
      AppendNumber(out, c.hour, width);
      break;
    case 'm':
      AppendNumber(out, c.minute, width);
      break;
    case 's':
      AppendNumber(out, c.second, width);
      break;
    case 't': {
      const std::string& marker = c.hour < 12 ? f.am : f.pm;
      out += count == 1 ? marker.substr(0, 1) : marker;
      break;
    }
    default:
      break;
  }
}

constexpr std::string_view kPictureLetters = "dMyghHmst";

}  // namespace

std::string FormatPicture(const CivilDateTime& c, std::string_view picture, const platform::DateTimeFormats& formats) {
  std::string out;
  std::size_t i = 0;
  while (i < picture.size()) {
    const char ch = picture[i];
    if (ch == '\'') {
      // Quoted text as it stands; two quotes in a row are one quote.
      ++i;
      while (i < picture.size()) {
        if (picture[i] == '\'') {
          if (i + 1 < picture.size() && picture[i + 1] == '\'') {
            out += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out += picture[i++];
      }
      continue;
    }
    if (kPictureLetters.find(ch) == std::string_view::npos) {
      out += ch;
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == ch) ++run;
    AppendField(out, ch, run, c, formats);
    i += run;
  }
  return out;
}

std::string ErrorLogStamp(double now, const platform::DateTimeFormats& formats) {
  const CivilDateTime c = DecodeDateTime(now);
  return FormatPicture(c, formats.shortDate, formats) + " " + FormatPicture(c, formats.longTime, formats);
}

}  // namespace wdx
