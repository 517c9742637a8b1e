// Dates and times written with the system's own format pictures (the short date, the long
// time), as the player's error log stamps its lines.
#pragma once

#include <string>
#include <string_view>

#include "platform/regional_formats.h"
#include "shared/date_time.h"

namespace wdx {

// `c` written by `picture` (the letters of platform::DateTimeFormats); names are English, the
// markers of the 12-hour clock are `formats`' own.
std::string FormatPicture(const CivilDateTime& c, std::string_view picture, const platform::DateTimeFormats& formats);

// The error log's line stamp: the date in the short date format, a blank, the time in the long
// time format, e.g. "3/30/1998 3:04:23 PM" with the United States defaults.
std::string ErrorLogStamp(double now, const platform::DateTimeFormats& formats);

}  // namespace wdx
