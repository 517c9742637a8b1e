// The desktop's settings on Windows. Ending the session can be diverted for tests: when the
// environment variable WDX_SESSION_END_LOG names a file, the request is appended to it as one
// line instead of being made, so a test of the real program never logs its desktop off.
#pragma once

#include "platform/system_settings.h"

namespace wdx::platform {

class Win32SystemSettings : public SystemSettings {
 public:
  std::optional<DisplayMode> DisplayModeAt(std::uint32_t index) override;
  std::int32_t ChangeDisplayMode(const DisplayMode& mode, bool test) override;
  void SetParameter(SystemParameter parameter, std::uint32_t value) override;
  std::optional<bool> ScreenSaverActive() override;
  void StartScreenSaver() override;
  void ApplyWallpaper() override;
  std::vector<PrinterEntry> Printers() override;
  void BroadcastSettingChange(const std::string& section) override;
  void ArrangeDesktop(DesktopArrangement how) override;
  bool EndSession(SessionEnd how, bool privilege) override;
};

}  // namespace wdx::platform
