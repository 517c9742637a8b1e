// The reverse of DecipherKey: which hot key index a key or mouse button with a set of held
// modifiers is. One table lookup, so the hook's per-key decision stays constant-time.
#pragma once

#include <cstdint>

namespace wdx::hook {

enum ModifierBits : std::uint8_t { kModCtrl = 1, kModAlt = 2, kModShift = 4, kModWin = 8 };

// Hot key index of virtual key `vk` with `modifiers` (ModifierBits), or -1 when that
// combination has no index.
int HotKeyIndexOfKey(std::uint8_t vk, std::uint8_t modifiers);
// Shift, Ctrl, Alt (either side or generic) and the Win keys.
bool IsModifierKey(std::uint8_t vk);

// Hot key index of mouse button `button` (1 left, 2 right, 3 middle) with `modifiers`, or -1.
int HotKeyIndexOfMouse(int button, std::uint8_t modifiers);

}  // namespace wdx::hook
