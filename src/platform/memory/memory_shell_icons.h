// The notification area in memory: every call is recorded, the icons the shell would show are
// kept, and a test can make the shell refuse.
#pragma once

#include <string>
#include <vector>

#include "platform/shell_icons.h"

namespace wdx::platform {

class MemoryShellIcons final : public ShellIcons {
 public:
  struct Call {
    NotifyCommand command;
    NotifyIcon icon;
  };
  bool Notify(NotifyCommand command, const NotifyIcon& icon) override;
  IconHandle ProgramIcon(ProgramImage image) override;
  IconHandle LoadIconFile(const std::string& path) override;
  void DestroyIcon(IconHandle icon) override;

  // The icon shown for this window and id, or nullptr.
  const NotifyIcon* Find(WindowHandle window, std::uint32_t id) const;
  // The icon an image or file handle stands for ("idle", "running", "recording", "menu", or
  // the file's path); empty for none.
  std::string ImageName(IconHandle icon) const;

  std::vector<Call> calls;           // every Notify, in order (refused ones too)
  std::vector<NotifyIcon> shown;     // what the notification area shows, in the order added
  std::vector<IconHandle> destroyed;
  bool refuse = false;               // the shell refuses every call

 private:
  std::vector<std::string> files_;   // handle 100 + i
};

}  // namespace wdx::platform
