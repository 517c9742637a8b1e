// Recording: turns what the user does while a recording is on into macro text, the text the
// player then plays back. Keys become typed characters or key tags, mouse buttons become
// click tags with the pointer position, and with "Time" on the pauses between events become
// delay tags.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace wdx::hook {

struct CaptureOptions {
  bool keys = false;        // "Keys"
  bool mouse = false;       // "Mouse"
  bool clicksOnly = false;  // "Clicks Only": clicks without positions
  int relative = 1;         // "Relative To Screen": 1 screen, 2 window, 3 previous position
  bool time = false;        // "Time": pauses become delay tags
  bool doubleAlt = false;   // "Double Alt": a lone Alt press is kept (menus)
};

class CaptureRecorder {
 public:
  // A new recording: the first event gets no delay before it.
  void Start();

  // A key went down. `typed` is the character the key types with the held Shift and Caps Lock
  // (0 for none), `plain` the one it types without them (for Ctrl and Alt combinations).
  std::string KeyDown(std::uint8_t vk, std::uint8_t modifiers, char typed, char plain, std::uint32_t time,
                      const CaptureOptions& options);
  std::string KeyUp(std::uint8_t vk, std::uint32_t time, const CaptureOptions& options);
  // A mouse button (1 left, 2 right, 3 middle) went down or up at screen point `p`; `window`
  // is the foreground window's rectangle (for window-relative positions).
  std::string MouseButton(int button, bool down, platform::Point p, const platform::Rect& window,
                          std::uint32_t time, const CaptureOptions& options);

 private:
  std::string Delay(std::uint32_t time, const CaptureOptions& options);
  std::string Position(platform::Point p, const platform::Rect& window, const CaptureOptions& options);

  bool started_ = false;
  std::uint32_t lastTime_ = 0;
  bool altAlone_ = false;
  bool winAlone_ = false;
  platform::Point lastPoint_;
  platform::Point downPoint_;
  bool havePoint_ = false;
};

}  // namespace wdx::hook
