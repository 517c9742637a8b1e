// Icons in the notification area of the task bar, as the shell keeps them, and the images
// they show.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/types.h"

namespace wdx::platform {

using IconHandle = std::uint64_t;
inline constexpr IconHandle kNoIcon = 0;

// The most characters of a tip the shell shows (its field keeps one more for the end).
inline constexpr std::size_t kNotifyTipMax = 63;

// One icon: the shell tells `window` of the mouse on it with `callbackMessage`, wParam `id` and
// lParam the mouse message (a button going up, a double click).
struct NotifyIcon {
  WindowHandle window = kNoWindow;
  std::uint32_t id = 0;
  std::uint32_t callbackMessage = 0;
  IconHandle icon = kNoIcon;
  std::string tip;
  bool operator==(const NotifyIcon&) const = default;
};

enum class NotifyCommand : std::uint8_t { kAdd, kModify, kDelete };

// The program's own images.
enum class ProgramImage : std::uint8_t { kIdle, kRunning, kRecording, kMenu };

class ShellIcons {
 public:
  virtual ~ShellIcons() = default;
  // Adds, changes or removes an icon; false when the shell refused.
  virtual bool Notify(NotifyCommand command, const NotifyIcon& icon) = 0;
  // One of the program's images (the program keeps it); kNoIcon when it has none.
  virtual IconHandle ProgramIcon(ProgramImage image) = 0;
  // The first image of an icon file; kNoIcon when it cannot be read. The caller frees it.
  virtual IconHandle LoadIconFile(const std::string& path) = 0;
  virtual void DestroyIcon(IconHandle icon) = 0;
};

}  // namespace wdx::platform
