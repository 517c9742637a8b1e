// Small value types shared by every facility of the platform layer. Windows types never
// appear outside src/platform/win32/; the rest of the system speaks in these.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace wdx::platform {

// Window handles are 32-bit significant on both Windows word sizes (they cross processes
// and are stored in 4-byte fields of the shared blocks).
using WindowHandle = std::uint32_t;
constexpr WindowHandle kNoWindow = 0;

// Message numbers the system relies on (the Windows values: they cross process boundaries).
namespace msg {
constexpr std::uint32_t kNull = 0x0000;
constexpr std::uint32_t kDestroy = 0x0002;
constexpr std::uint32_t kClose = 0x0010;
constexpr std::uint32_t kQuit = 0x0012;
constexpr std::uint32_t kKeyDown = 0x0100;
constexpr std::uint32_t kKeyUp = 0x0101;
constexpr std::uint32_t kChar = 0x0102;
constexpr std::uint32_t kSysKeyDown = 0x0104;
constexpr std::uint32_t kSysKeyUp = 0x0105;
constexpr std::uint32_t kTimer = 0x0113;
constexpr std::uint32_t kSysCommand = 0x0112;
constexpr std::uint32_t kSetText = 0x000C;
constexpr std::uint32_t kGetText = 0x000D;
constexpr std::uint32_t kGetTextLength = 0x000E;
constexpr std::uint32_t kUser = 0x0400;
}  // namespace msg

// The system commands (msg::kSysCommand's wParam, its low four bits masked off) that reach our
// windows' handlers; the system handles every other one itself.
namespace sc {
constexpr std::uint64_t kMinimize = 0xF020;
constexpr std::uint64_t kScreenSave = 0xF140;
}  // namespace sc

// A handler's result that hands the message to the system's default treatment after all.
constexpr std::int64_t kDefaultHandling = INT64_MIN;

struct Message {
  WindowHandle window = kNoWindow;
  std::uint32_t message = 0;
  std::uint64_t wparam = 0;
  std::int64_t lparam = 0;
};

// Handler of a window we create. Its return value is the message's result (SendMessage).
using MessageHandler = std::function<std::int64_t(const Message&)>;

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const Point&) const = default;
};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool operator==(const Rect&) const = default;
};

}  // namespace wdx::platform
