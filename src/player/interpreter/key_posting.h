// Posting one synthetic key event the way the player does: the key's scan code from the
// keyboard layout and the extended-key flag for the keys that need it. The player's main
// window posts every key of a macro through this, and so do the test hosts.
#pragma once

#include <cstdint>

#include "platform/input.h"

namespace wdx::player {

// Keys sent with the extended-key flag: Caps Lock, the navigation block and arrows, Insert,
// Delete, Num Lock and Scroll Lock.
bool ExtendKey(std::uint8_t vk);

void PostKeyEvent(platform::Input& input, std::uint8_t vk, bool up);

}  // namespace wdx::player
