// Synthesised keyboard and mouse input, and the key state.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wdx::platform {

// Key event flags (the values keyboard events carry on Windows).
namespace keyflag {
constexpr std::uint32_t kExtendedKey = 0x0001;
constexpr std::uint32_t kKeyUp = 0x0002;
}  // namespace keyflag

// Mouse event flags (the values mouse events carry on Windows).
namespace mouseflag {
constexpr std::uint32_t kMove = 0x0001;
constexpr std::uint32_t kLeftDown = 0x0002;
constexpr std::uint32_t kLeftUp = 0x0004;
constexpr std::uint32_t kRightDown = 0x0008;
constexpr std::uint32_t kRightUp = 0x0010;
constexpr std::uint32_t kMiddleDown = 0x0020;
constexpr std::uint32_t kMiddleUp = 0x0040;
constexpr std::uint32_t kWheel = 0x0800;
constexpr std::uint32_t kAbsolute = 0x8000;
}  // namespace mouseflag

// Map kinds of MapVirtualKey.
enum class KeyMapKind : std::uint32_t { kVkToScan = 0, kScanToVk = 1, kVkToChar = 2 };

class Input {
 public:
  virtual ~Input() = default;

  // One keyboard event, as keybd_event sends it.
  virtual void KeyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) = 0;
  // One mouse event, as mouse_event sends it.
  virtual void MouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data) = 0;
  virtual void SetCursorPos(Point p) = 0;
  virtual Point GetCursorPos() = 0;
  // Screen size in pixels (for absolute mouse coordinates).
  virtual Point ScreenSize() = 0;

  // Key state of the calling thread: bit 0x8000 down, bit 0x0001 toggled (lock keys).
  virtual std::int16_t GetKeyState(std::uint8_t vk) = 0;
  // Physical state now: bit 0x8000 down.
  virtual std::int16_t GetAsyncKeyState(std::uint8_t vk) = 0;
  // Virtual key of a character in the low byte, shift state in the high byte
  // (1 Shift, 2 Ctrl, 4 Alt); -1 when no key types it.
  virtual std::int16_t VkKeyScan(char c) = 0;
  virtual std::uint32_t MapVirtualKey(std::uint32_t code, KeyMapKind kind) = 0;
};

}  // namespace wdx::platform
