// One key at a time into macro text: what the recording makes of typed characters (those above
// 127 too), of named keys and of keys held with modifiers.
#include <gtest/gtest.h>

#include "hook/capture_recorder.h"
#include "hook/hot_key_lookup.h"
#include "platform/virtual_keys.h"

namespace wdx::hook {
namespace {

TEST(CaptureRecorderTest, KeysBecomeCharactersOrTags) {
  const struct {
    std::uint8_t vk;
    std::uint8_t mods;
    char typed;
    char plain;
    const char* text;
  } cases[] = {
      {'A', 0, 'a', 'a', "a"},
      {'A', kModShift, 'A', 'a', "A"},  // Shift is in the character
      {'1', kModShift, '!', '1', "!"},
      {0xDE, 0, '\xE9', '\xE9', "\xE9"},  // a key that types a character above 127
      {0xE7, 0, '\xFC', '\xFC', "\xFC"},  // a character sent as a packet
      {'C', kModCtrl, '\x03', 'c', "<CTRL>c"},
      {'F', kModCtrl | kModAlt | kModShift, 0, 'f', "<CTRL><ALT><SHIFT>f"},
      {'E', kModWin, 'e', 'e', "<WIND>e<WINU>"},
      {vk::kReturn, 0, '\r', '\r', "<ENTER>"},
      {vk::kTab, kModShift, '\t', '\t', "<SHIFT><TAB>"},
      {vk::kBack, 0, '\b', '\b', "<BACKSPACE>"},
      {vk::kEscape, 0, '\x1B', '\x1B', "<ESC>"},
      {vk::kF1 + 11, kModAlt, 0, 0, "<ALT><F12>"},
      {vk::kNumpad0 + 7, kModCtrl, 0, 0, "<CTRL><KEYP7>"},
      {vk::kDelete, 0, 0, 0, "<DELETE>"},
      {vk::kNext, kModShift, 0, 0, "<SHIFT><PAGE DOWN>"},
      {0xFF, 0, 0, 0, ""},  // a key the macro language cannot press
  };
  const CaptureOptions keys{true};
  for (const auto& c : cases) {
    CaptureRecorder r;
    r.Start();
    EXPECT_EQ(r.KeyDown(c.vk, c.mods, c.typed, c.plain, 0, keys), c.text) << int(c.vk) << " " << int(c.mods);
    EXPECT_EQ(r.KeyUp(c.vk, 0, keys), "");
  }
  // Without "Keys" nothing of them is recorded.
  CaptureRecorder r;
  EXPECT_EQ(r.KeyDown('A', 0, 'a', 'a', 0, CaptureOptions{}), "");
}

}  // namespace
}  // namespace wdx::hook
