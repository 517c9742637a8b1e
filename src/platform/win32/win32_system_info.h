// System facts and settings on Windows.
#pragma once

#include "platform/system_info.h"

namespace wdx::platform {

class Win32SystemInfo : public SystemInfo {
 public:
  OsVersion Version() override;
  bool MouseButtonsSwapped() override;
  std::uint32_t ForegroundLockTimeout() override;
  bool SetForegroundLockTimeout(std::uint32_t ms) override;
  bool OleInitialize() override;
  void OleUninitialize() override;
};

}  // namespace wdx::platform
