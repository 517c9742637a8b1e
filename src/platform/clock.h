// Wall clock, tick count and sleeping.
#pragma once

#include <cstdint>

namespace wdx::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Local date and time as a day count since 1899-12-30, the time of day as its fraction.
  virtual double Now() = 0;
  // Milliseconds since the system started (wraps after 49.7 days like Windows' tick count).
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(std::uint32_t ms) = 0;
};

}  // namespace wdx::platform
