// The stand-in's regional formats: the United States defaults until a test sets others.
#pragma once

#include "platform/regional_formats.h"

namespace wdx::platform {

class MemoryRegionalFormats : public RegionalFormats {
 public:
  DateTimeFormats DateTime() override { return formats; }

  DateTimeFormats formats;
};

}  // namespace wdx::platform
