// The system's formats for dates and times, as the user set them in the regional settings:
// the short date and the long time, written as Windows writes them (pictures such as
// "M/d/yyyy" and "h:mm:ss tt"), and the markers of the 12-hour clock.
#pragma once

#include <string>

namespace wdx::platform {

struct DateTimeFormats {
  // Picture letters: d dd (day), ddd dddd (day name), M MM (month), MMM MMMM (month name),
  // y yy yyyy (year), g gg (era); h hh (12-hour), H HH (24-hour), m mm, s ss, t tt (marker);
  // text between single quotes as it stands ('' is one quote); anything else as it stands.
  std::string shortDate = "M/d/yyyy";
  std::string longTime = "h:mm:ss tt";
  std::string am = "AM";
  std::string pm = "PM";
  bool operator==(const DateTimeFormats&) const = default;
};

class RegionalFormats {
 public:
  virtual ~RegionalFormats() = default;
  // The formats as they are set now (the user may change them while a program runs).
  virtual DateTimeFormats DateTime() = 0;
};

}  // namespace wdx::platform
