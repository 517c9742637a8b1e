#include "platform/memory/memory_input.h"

#include <algorithm>

#include "platform/virtual_keys.h"

namespace wdx::platform {

namespace {

// Punctuation of the US layout: the character, its key, and whether Shift types it.
struct PunctKey {
  char c;
  std::uint8_t vk;
  bool shift;
};
constexpr std::uint8_t kOem1 = 0xBA, kOemPlus = 0xBB, kOemComma = 0xBC, kOemMinus = 0xBD, kOemPeriod = 0xBE,
                       kOem2 = 0xBF, kOem3 = 0xC0, kOem4 = 0xDB, kOem5 = 0xDC, kOem6 = 0xDD, kOem7 = 0xDE,
                       kOem102 = 0xE2;
constexpr PunctKey kPunct[] = {
    {' ', vk::kSpace, false}, {';', kOem1, false},      {':', kOem1, true},       {'=', kOemPlus, false},
    {'+', kOemPlus, true},    {',', kOemComma, false},  {'<', kOemComma, true},   {'-', kOemMinus, false},
    {'_', kOemMinus, true},   {'.', kOemPeriod, false}, {'>', kOemPeriod, true},  {'/', kOem2, false},
    {'?', kOem2, true},       {'`', kOem3, false},      {'~', kOem3, true},       {'[', kOem4, false},
    {'{', kOem4, true},       {'\\', kOem5, false},     {'|', kOem5, true},       {']', kOem6, false},
    {'}', kOem6, true},       {'\'', kOem7, false},     {'"', kOem7, true},       {'!', '1', true},
    {'@', '2', true},         {'#', '3', true},         {'$', '4', true},         {'%', '5', true},
    {'^', '6', true},         {'&', '7', true},         {'*', '8', true},         {'(', '9', true},
    {')', '0', true},
};

// Scan codes (set 1) of the US keyboard. Extended keys (arrows, the navigation block, the
// right-hand modifiers, numpad Divide) share the scan code of their numpad or left-hand twin;
// the extended flag tells them apart.
struct ScanKey {
  std::uint8_t vk;
  std::uint8_t scan;
};
constexpr ScanKey kScanTable[] = {
    // Keys whose scan code maps back to this virtual key come first.
    {vk::kEscape, 0x01}, {'1', 0x02}, {'2', 0x03}, {'3', 0x04}, {'4', 0x05}, {'5', 0x06}, {'6', 0x07},
    {'7', 0x08}, {'8', 0x09}, {'9', 0x0A}, {'0', 0x0B}, {kOemMinus, 0x0C}, {kOemPlus, 0x0D},
    {vk::kBack, 0x0E}, {vk::kTab, 0x0F}, {'Q', 0x10}, {'W', 0x11}, {'E', 0x12}, {'R', 0x13}, {'T', 0x14},
    {'Y', 0x15}, {'U', 0x16}, {'I', 0x17}, {'O', 0x18}, {'P', 0x19}, {kOem4, 0x1A}, {kOem6, 0x1B},
    {vk::kReturn, 0x1C}, {vk::kControl, 0x1D}, {'A', 0x1E}, {'S', 0x1F}, {'D', 0x20}, {'F', 0x21},
    {'G', 0x22}, {'H', 0x23}, {'J', 0x24}, {'K', 0x25}, {'L', 0x26}, {kOem1, 0x27}, {kOem7, 0x28},
    {kOem3, 0x29}, {vk::kShift, 0x2A}, {kOem5, 0x2B}, {'Z', 0x2C}, {'X', 0x2D}, {'C', 0x2E}, {'V', 0x2F},
    {'B', 0x30}, {'N', 0x31}, {'M', 0x32}, {kOemComma, 0x33}, {kOemPeriod, 0x34}, {kOem2, 0x35},
    {vk::kMultiply, 0x37}, {vk::kMenu, 0x38}, {vk::kSpace, 0x39}, {vk::kCapital, 0x3A},
    {vk::kF1, 0x3B}, {vk::kF1 + 1, 0x3C}, {vk::kF1 + 2, 0x3D}, {vk::kF1 + 3, 0x3E}, {vk::kF1 + 4, 0x3F},
    {vk::kF1 + 5, 0x40}, {vk::kF1 + 6, 0x41}, {vk::kF1 + 7, 0x42}, {vk::kF1 + 8, 0x43},
    {vk::kF1 + 9, 0x44}, {vk::kNumLock, 0x45}, {vk::kScroll, 0x46}, {vk::kHome, 0x47}, {vk::kUp, 0x48},
    {vk::kPrior, 0x49}, {vk::kSubtract, 0x4A}, {vk::kLeft, 0x4B}, {vk::kClear, 0x4C}, {vk::kRight, 0x4D},
    {vk::kAdd, 0x4E}, {vk::kEnd, 0x4F}, {vk::kDown, 0x50}, {vk::kNext, 0x51}, {vk::kInsert, 0x52},
    {vk::kDelete, 0x53}, {vk::kF1 + 10, 0x57}, {vk::kF1 + 11, 0x58}, {vk::kLWin, 0x5B}, {vk::kRWin, 0x5C},
    {vk::kApps, 0x5D}, {kOem102, 0x56},
    // Keys sharing a scan code with one above.
    {vk::kShift, 0x36}, {vk::kLShift, 0x2A}, {vk::kRShift, 0x36}, {vk::kLControl, 0x1D}, {vk::kRControl, 0x1D},
    {vk::kLMenu, 0x38}, {vk::kRMenu, 0x38}, {vk::kDivide, 0x35}, {vk::kNumpad0 + 7, 0x47},
    {vk::kNumpad0 + 8, 0x48}, {vk::kNumpad0 + 9, 0x49}, {vk::kNumpad0 + 4, 0x4B}, {vk::kNumpad0 + 5, 0x4C},
    {vk::kNumpad0 + 6, 0x4D}, {vk::kNumpad0 + 1, 0x4F}, {vk::kNumpad0 + 2, 0x50}, {vk::kNumpad0 + 3, 0x51},
    {vk::kNumpad0, 0x52}, {vk::kDecimal, 0x53},
};

bool IsLockKey(std::uint8_t v) { return v == vk::kCapital || v == vk::kNumLock || v == vk::kScroll; }

}  // namespace

std::int16_t UsVkKeyScan(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= 'a' && u <= 'z') return static_cast<std::int16_t>(u - 'a' + 'A');
  if (u >= 'A' && u <= 'Z') return static_cast<std::int16_t>(0x100 | u);
  if (u >= '0' && u <= '9') return static_cast<std::int16_t>(u);
  for (const PunctKey& p : kPunct) {
    if (p.c == c) return static_cast<std::int16_t>((p.shift ? 0x100 : 0) | p.vk);
  }
  switch (u) {
    case '\b':
      return vk::kBack;
    case '\t':
      return vk::kTab;
    case '\r':
      return vk::kReturn;
    case '\n':
      return 0x200 | vk::kReturn;  // Ctrl+Enter types a line feed
    case 0x1B:
      return vk::kEscape;
    default:
      break;
  }
  if (u >= 1 && u <= 26) return static_cast<std::int16_t>(0x200 | (u - 1 + 'A'));  // Ctrl+letter
  return -1;
}

std::uint32_t UsMapVirtualKey(std::uint32_t code, KeyMapKind kind) {
  switch (kind) {
    case KeyMapKind::kVkToScan:
      for (const ScanKey& k : kScanTable) {
        if (k.vk == code) return k.scan;
      }
      return 0;
    case KeyMapKind::kScanToVk:
      for (const ScanKey& k : kScanTable) {
        if (k.scan == code) return k.vk;
      }
      return 0;
    case KeyMapKind::kVkToChar:
      if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) return code;
      if (code >= vk::kNumpad0 && code <= vk::kNumpad0 + 9u) return '0' + (code - vk::kNumpad0);
      switch (code) {
        case vk::kMultiply:
          return '*';
        case vk::kAdd:
          return '+';
        case vk::kSubtract:
          return '-';
        case vk::kDecimal:
          return '.';
        case vk::kDivide:
          return '/';
        case vk::kBack:
          return '\b';
        case vk::kTab:
          return '\t';
        case vk::kReturn:
          return '\r';
        case vk::kEscape:
          return 0x1B;
        case kOem102:
          return '\\';  // the extra key of 102-key boards types a backslash in this layout
        default:
          break;
      }
      for (const PunctKey& p : kPunct) {
        if (!p.shift && p.vk == code) return static_cast<unsigned char>(p.c);
      }
      return 0;
  }
  return 0;
}

void MemoryInput::SetDown(std::uint8_t v, bool down) {
  // A lock key toggles on each press.
  if (down && IsLockKey(v)) toggled_[v] = !toggled_[v];
  down_[v] = down;
  // The generic modifier is down while either side is; the generic key itself counts as left.
  auto pair = [&](std::uint8_t generic, std::uint8_t left, std::uint8_t right) {
    if (v == generic) down_[left] = down;
    if (v == generic || v == left || v == right) down_[generic] = down_[left] || down_[right];
  };
  pair(vk::kShift, vk::kLShift, vk::kRShift);
  pair(vk::kControl, vk::kLControl, vk::kRControl);
  pair(vk::kMenu, vk::kLMenu, vk::kRMenu);
}

void MemoryInput::KeyEvent(std::uint8_t v, std::uint8_t scan, std::uint32_t flags) {
  keys.push_back({v, scan, flags});
  SetDown(v, (flags & keyflag::kKeyUp) == 0);
}

void MemoryInput::MouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data) {
  mouse.push_back({flags, dx, dy, data});
  if (flags & mouseflag::kMove) {
    if (flags & mouseflag::kAbsolute) {
      // Absolute coordinates span 0..65535 over the screen.
      cursor_.x = static_cast<std::int32_t>(static_cast<std::int64_t>(dx) * screen_.x / 65536);
      cursor_.y = static_cast<std::int32_t>(static_cast<std::int64_t>(dy) * screen_.y / 65536);
      SetCursorPos(cursor_);
    } else {
      SetCursorPos({cursor_.x + dx, cursor_.y + dy});
    }
  }
  if (flags & mouseflag::kLeftDown) down_[vk::kLButton] = true;
  if (flags & mouseflag::kLeftUp) down_[vk::kLButton] = false;
  if (flags & mouseflag::kRightDown) down_[vk::kRButton] = true;
  if (flags & mouseflag::kRightUp) down_[vk::kRButton] = false;
  if (flags & mouseflag::kMiddleDown) down_[vk::kMButton] = true;
  if (flags & mouseflag::kMiddleUp) down_[vk::kMButton] = false;
}

void MemoryInput::SetCursorPos(Point p) {
  // The cursor stays on the screen.
  cursor_.x = std::clamp(p.x, 0, std::max(0, screen_.x - 1));
  cursor_.y = std::clamp(p.y, 0, std::max(0, screen_.y - 1));
}

std::int16_t MemoryInput::GetKeyState(std::uint8_t v) {
  int state = (down_[v] ? 0x8000 : 0) | (toggled_[v] ? 0x0001 : 0);
  return static_cast<std::int16_t>(state);
}

std::int16_t MemoryInput::GetAsyncKeyState(std::uint8_t v) {
  return static_cast<std::int16_t>(down_[v] ? 0x8000 : 0);
}

void MemoryInput::SetKeyDown(std::uint8_t v, bool down) {
  // The user's key: the lock keys toggle as with a real press.
  SetDown(v, down);
}

void MemoryInput::SetToggled(std::uint8_t v, bool on) { toggled_[v] = on; }

std::vector<std::uint8_t> MemoryInput::KeysDown() const {
  std::vector<std::uint8_t> out;
  for (int v = 0; v < 256; ++v) {
    if (down_[v]) out.push_back(static_cast<std::uint8_t>(v));
  }
  return out;
}

}  // namespace wdx::platform
