// The regional formats as Windows gives them for the user (GetLocaleInfo).
#pragma once

#include "platform/regional_formats.h"

namespace wdx::platform {

class Win32RegionalFormats : public RegionalFormats {
 public:
  DateTimeFormats DateTime() override;
};

}  // namespace wdx::platform
