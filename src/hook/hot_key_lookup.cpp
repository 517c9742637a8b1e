#include "hook/hot_key_lookup.h"

#include <array>

#include "platform/virtual_keys.h"
#include "shared/hot_keys.h"

namespace wdx::hook {
namespace {

struct Tables {
  std::array<std::array<std::int16_t, 16>, 256> keys;
  std::array<std::array<std::int16_t, 16>, 4> mouse;

  Tables() {
    for (auto& row : keys) row.fill(-1);
    for (auto& row : mouse) row.fill(-1);
    for (int index = 0; index < kHotKeyCount; ++index) {
      const HotKey k = DecipherKey(index);
      const std::uint8_t mods = static_cast<std::uint8_t>((k.ctrl ? kModCtrl : 0) | (k.alt ? kModAlt : 0) |
                                                          (k.shift ? kModShift : 0) | (k.win ? kModWin : 0));
      std::int16_t& slot = k.mouse == MouseButtonKind::kNone ? keys[k.virtualKey][mods]
                                                             : mouse[static_cast<int>(k.mouse)][mods];
      if (slot < 0) slot = static_cast<std::int16_t>(index);  // the first index wins, should two agree
    }
  }
};

const Tables& TheTables() {
  static const Tables tables;
  return tables;
}

}  // namespace

bool IsModifierKey(std::uint8_t k) {
  switch (k) {
    case vk::kShift: case vk::kControl: case vk::kMenu: case vk::kLShift: case vk::kRShift:
    case vk::kLControl: case vk::kRControl: case vk::kLMenu: case vk::kRMenu: case vk::kLWin: case vk::kRWin:
      return true;
    default:
      return false;
  }
}

int HotKeyIndexOfKey(std::uint8_t vk, std::uint8_t modifiers) { return TheTables().keys[vk][modifiers & 15]; }

int HotKeyIndexOfMouse(int button, std::uint8_t modifiers) {
  if (button < 1 || button > 3) return -1;
  return TheTables().mouse[button][modifiers & 15];
}

}  // namespace wdx::hook
