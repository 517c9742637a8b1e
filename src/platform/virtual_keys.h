// Virtual-key codes the system names (the Windows values: they cross into the hook library,
// the stored hot keys and the recorded macros).
#pragma once

#include <cstdint>

namespace wdx::vk {
constexpr std::uint8_t kLButton = 0x01, kRButton = 0x02, kCancel = 0x03, kMButton = 0x04;
constexpr std::uint8_t kBack = 0x08, kTab = 0x09, kClear = 0x0C, kReturn = 0x0D;
constexpr std::uint8_t kShift = 0x10, kControl = 0x11, kMenu = 0x12, kPause = 0x13, kCapital = 0x14;
constexpr std::uint8_t kEscape = 0x1B, kSpace = 0x20, kPrior = 0x21, kNext = 0x22, kEnd = 0x23, kHome = 0x24;
constexpr std::uint8_t kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;
constexpr std::uint8_t kSelect = 0x29, kPrint = 0x2A, kExecute = 0x2B, kSnapshot = 0x2C;
constexpr std::uint8_t kInsert = 0x2D, kDelete = 0x2E, kHelp = 0x2F;
constexpr std::uint8_t k0 = 0x30, kA = 0x41;
constexpr std::uint8_t kLWin = 0x5B, kRWin = 0x5C, kApps = 0x5D;
constexpr std::uint8_t kNumpad0 = 0x60, kMultiply = 0x6A, kAdd = 0x6B, kSeparator = 0x6C, kSubtract = 0x6D,
                       kDecimal = 0x6E, kDivide = 0x6F;
constexpr std::uint8_t kF1 = 0x70, kF24 = 0x87;
constexpr std::uint8_t kNumLock = 0x90, kScroll = 0x91;
constexpr std::uint8_t kLShift = 0xA0, kRShift = 0xA1, kLControl = 0xA2, kRControl = 0xA3, kLMenu = 0xA4,
                       kRMenu = 0xA5;
}  // namespace wdx::vk
