// The stand-in system facts: plain fields the test sets; the foreground lock time-out keeps
// every value set, in order.
#pragma once

#include <vector>

#include "platform/system_info.h"

namespace wdx::platform {

class MemorySystemInfo : public SystemInfo {
 public:
  OsVersion Version() override { return version; }
  bool MouseButtonsSwapped() override { return buttonsSwapped; }
  std::uint32_t ForegroundLockTimeout() override { return foregroundLockTimeout; }
  bool SetForegroundLockTimeout(std::uint32_t ms) override {
    foregroundLockTimeout = ms;
    lockTimeoutsSet.push_back(ms);
    return true;
  }
  bool OleInitialize() override {
    ++oleDepth;
    return true;
  }
  void OleUninitialize() override { --oleDepth; }

  OsVersion version;
  bool buttonsSwapped = false;
  std::uint32_t foregroundLockTimeout = 200000;
  std::vector<std::uint32_t> lockTimeoutsSet;
  int oleDepth = 0;
};

}  // namespace wdx::platform
