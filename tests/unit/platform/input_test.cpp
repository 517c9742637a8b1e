#include <gtest/gtest.h>

#include "platform/memory/memory_input.h"
#include "platform/virtual_keys.h"

namespace wdx::platform {
namespace {

TEST(InputTest, EventsAreRecordedAndLockKeysToggleOnEachPress) {
  MemoryInput in;
  in.KeyEvent(vk::kCapital, 0x3A, 0);
  EXPECT_EQ(in.GetKeyState(vk::kCapital) & 0xFFFF, 0x8001);
  in.KeyEvent(vk::kCapital, 0x3A, keyflag::kKeyUp);
  EXPECT_EQ(in.GetKeyState(vk::kCapital), 0x0001);
  EXPECT_EQ(in.GetAsyncKeyState(vk::kCapital), 0);
  in.KeyEvent(vk::kCapital, 0x3A, 0);
  in.KeyEvent(vk::kCapital, 0x3A, keyflag::kKeyUp);
  EXPECT_EQ(in.GetKeyState(vk::kCapital), 0);
  in.SetToggled(vk::kNumLock, true);
  EXPECT_EQ(in.GetKeyState(vk::kNumLock), 1);
  // Letters do not toggle; a side-specific modifier sets the generic one.
  in.KeyEvent('A', 0x1E, 0);
  in.KeyEvent('A', 0x1E, keyflag::kKeyUp);
  EXPECT_EQ(in.GetKeyState('A'), 0);
  in.KeyEvent(vk::kRShift, 0x36, 0);
  EXPECT_NE(in.GetKeyState(vk::kShift) & 0x8000, 0);
  EXPECT_EQ(in.KeysDown(), (std::vector<std::uint8_t>{vk::kShift, vk::kRShift}));
  in.KeyEvent(vk::kRShift, 0x36, keyflag::kKeyUp);
  EXPECT_TRUE(in.KeysDown().empty());
  ASSERT_EQ(in.keys.size(), 8u);
  EXPECT_EQ(in.keys[7], (KeyEventRecord{vk::kRShift, 0x36, keyflag::kKeyUp}));
}

TEST(InputTest, MouseMovesTheCursorAndPressesButtons) {
  MemoryInput in;
  in.SetScreenSize({800, 600});
  in.MouseEvent(mouseflag::kMove | mouseflag::kAbsolute, 32768, 16384, 0);
  EXPECT_EQ(in.GetCursorPos(), (Point{400, 150}));
  in.MouseEvent(mouseflag::kMove, -500, 10, 0);
  EXPECT_EQ(in.GetCursorPos(), (Point{0, 160}));  // kept on the screen
  in.MouseEvent(mouseflag::kLeftDown, 0, 0, 0);
  EXPECT_NE(in.GetAsyncKeyState(vk::kLButton), 0);
  in.MouseEvent(mouseflag::kLeftUp, 0, 0, 0);
  EXPECT_EQ(in.GetAsyncKeyState(vk::kLButton), 0);
  EXPECT_EQ(in.mouse.size(), 4u);
}

TEST(InputTest, UsLayoutKeyScansAndScanCodes) {
  struct Scan {
    char c;
    std::int16_t expected;
  };
  const Scan scans[] = {{'a', 0x41},  {'A', 0x141},  {'5', 0x35},  {'%', 0x135},  {' ', 0x20},   {'~', 0x1C0},
                        {'`', 0xC0},  {'"', 0x1DE},  {'\'', 0xDE}, {'|', 0x1DC},  {'?', 0x1BF},  {'_', 0x1BD},
                        {'{', 0x1DB}, {'}', 0x1DD},  {':', 0x1BA}, {'<', 0x1BC},  {'>', 0x1BE},  {'+', 0x1BB},
                        {'\r', 0x0D}, {'\t', 0x09}, {'\x01', 0x241}, {'\xE9', -1}, {'\x80', -1}};
  MemoryInput in;
  for (const Scan& s : scans) EXPECT_EQ(in.VkKeyScan(s.c), s.expected) << "char " << int(s.c);
  // Every printable character has a key.
  for (int c = 0x20; c < 0x7F; ++c) EXPECT_NE(in.VkKeyScan(static_cast<char>(c)), -1) << c;

  struct Map {
    std::uint32_t vk, scan;
  };
  const Map maps[] = {{'A', 0x1E},          {vk::kReturn, 0x1C}, {vk::kShift, 0x2A},    {vk::kControl, 0x1D},
                      {vk::kMenu, 0x38},    {vk::kUp, 0x48},     {vk::kDown, 0x50},     {vk::kLeft, 0x4B},
                      {vk::kRight, 0x4D},   {vk::kF1, 0x3B},     {vk::kF1 + 11, 0x58},  {vk::kNumpad0 + 7, 0x47},
                      {vk::kRShift, 0x36},  {vk::kEscape, 0x01}, {vk::kSpace, 0x39},    {vk::kDelete, 0x53}};
  for (const Map& m : maps) EXPECT_EQ(in.MapVirtualKey(m.vk, KeyMapKind::kVkToScan), m.scan) << m.vk;
  EXPECT_EQ(in.MapVirtualKey(0x1E, KeyMapKind::kScanToVk), 'A');
  EXPECT_EQ(in.MapVirtualKey(0x47, KeyMapKind::kScanToVk), vk::kHome);
  EXPECT_EQ(in.MapVirtualKey(0x36, KeyMapKind::kScanToVk), vk::kShift);
  EXPECT_EQ(in.MapVirtualKey('A', KeyMapKind::kVkToChar), static_cast<std::uint32_t>('A'));
  EXPECT_EQ(in.MapVirtualKey(0xBA, KeyMapKind::kVkToChar), static_cast<std::uint32_t>(';'));
}

}  // namespace
}  // namespace wdx::platform
