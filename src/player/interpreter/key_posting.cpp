#include "player/interpreter/key_posting.h"

namespace wdx::player {

bool ExtendKey(std::uint8_t vk) {
  return vk == 20 || (vk >= 33 && vk <= 40) || vk == 45 || vk == 46 || vk == 144 || vk == 145;
}

void PostKeyEvent(platform::Input& input, std::uint8_t vk, bool up) {
  const auto scan = static_cast<std::uint8_t>(input.MapVirtualKey(vk, platform::KeyMapKind::kVkToScan));
  std::uint32_t flags = ExtendKey(vk) ? platform::keyflag::kExtendedKey : 0;
  if (up) flags |= platform::keyflag::kKeyUp;
  input.KeyEvent(vk, scan, flags);
}

}  // namespace wdx::player
