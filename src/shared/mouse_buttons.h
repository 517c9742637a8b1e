// Mouse buttons are numbered two ways. The macro record (what the editor writes for a
// mouse-click macro) says 1 left, 2 middle, 3 right; the hook-globals click flags and the click
// messages of the hook library say 1 left, 2 right, 3 middle. Both programs convert through this
// one function, so the two orders cannot drift apart.
#pragma once

namespace wdx {

// Converts a button number from either numbering into the other (the swap of middle and right
// is its own inverse); 0 for a value that names no button.
constexpr int SwapButtonNumbering(int button) {
  switch (button) {
    case 1: return 1;
    case 2: return 3;
    case 3: return 2;
    default: return 0;
  }
}

}  // namespace wdx
