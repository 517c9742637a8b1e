// System settings and facts the programs adapt to: the Windows version, the mouse button
// swap, the foreground lock time-out, and the shell-automation (OLE) set-up of the thread.
#pragma once

#include <cstdint>

namespace wdx::platform {

enum class OsFamily : std::uint8_t { kWin32s, kWindows95, kNt };

struct OsVersion {
  OsFamily family = OsFamily::kNt;
  std::uint32_t major = 5;
  std::uint32_t minor = 1;
  bool operator==(const OsVersion&) const = default;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual OsVersion Version() = 0;
  // The user swapped the left and right mouse buttons.
  virtual bool MouseButtonsSwapped() = 0;
  // How long (ms) after the user's last input another program may not take the foreground.
  virtual std::uint32_t ForegroundLockTimeout() = 0;
  virtual bool SetForegroundLockTimeout(std::uint32_t ms) = 0;
  // Sets up (and ends) OLE on the calling thread, for the shell-automation commands.
  virtual bool OleInitialize() = 0;
  virtual void OleUninitialize() = 0;
};

}  // namespace wdx::platform
