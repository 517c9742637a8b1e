// The stand-in input: records every synthesised key and mouse event in order and keeps the
// key state (down bits, lock-key toggles, mouse buttons) and the cursor they imply. Key
// scans and scan codes follow the US keyboard layout.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/input.h"

namespace wdx::platform {

struct KeyEventRecord {
  std::uint8_t vk = 0;
  std::uint8_t scan = 0;
  std::uint32_t flags = 0;
  bool operator==(const KeyEventRecord&) const = default;
};

struct MouseEventRecord {
  std::uint32_t flags = 0;
  std::int32_t dx = 0;
  std::int32_t dy = 0;
  std::int32_t data = 0;
  bool operator==(const MouseEventRecord&) const = default;
};

// US layout tables, shared with whoever needs them without an Input at hand.
std::int16_t UsVkKeyScan(char c);
std::uint32_t UsMapVirtualKey(std::uint32_t code, KeyMapKind kind);

class MemoryInput : public Input {
 public:
  void KeyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override;
  void MouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data) override;
  void SetCursorPos(Point p) override;
  Point GetCursorPos() override { return cursor_; }
  Point ScreenSize() override { return screen_; }
  std::int16_t GetKeyState(std::uint8_t vk) override;
  std::int16_t GetAsyncKeyState(std::uint8_t vk) override;
  std::int16_t VkKeyScan(char c) override { return UsVkKeyScan(c); }
  std::uint32_t MapVirtualKey(std::uint32_t code, KeyMapKind kind) override { return UsMapVirtualKey(code, kind); }

  // --- Test controls (not recorded as events): the user's own keyboard.
  void SetKeyDown(std::uint8_t vk, bool down);
  void SetToggled(std::uint8_t vk, bool on);
  void SetScreenSize(Point size) { screen_ = size; }
  // Keys whose down bit is set now (a run must leave none held).
  std::vector<std::uint8_t> KeysDown() const;

  std::vector<KeyEventRecord> keys;
  std::vector<MouseEventRecord> mouse;

 private:
  void SetDown(std::uint8_t vk, bool down);
  std::array<bool, 256> down_{};
  std::array<bool, 256> toggled_{};
  Point cursor_{0, 0};
  Point screen_{1024, 768};
};

}  // namespace wdx::platform
