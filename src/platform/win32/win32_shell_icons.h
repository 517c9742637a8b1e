// The notification area on Windows (Shell_NotifyIcon, found when first used) and the program's
// images, drawn once in memory.
#pragma once

#include <array>

#include "platform/shell_icons.h"

namespace wdx::platform {

class Win32ShellIcons : public ShellIcons {
 public:
  ~Win32ShellIcons() override;
  bool Notify(NotifyCommand command, const NotifyIcon& icon) override;
  IconHandle ProgramIcon(ProgramImage image) override;
  IconHandle LoadIconFile(const std::string& path) override;
  void DestroyIcon(IconHandle icon) override;

 private:
  std::array<IconHandle, 4> images_{};
};

}  // namespace wdx::platform
