// The measures the command dialogs share, so that they look alike: margins, the button column
// at the right edge.
#pragma once

#include "forms/controls.h"
#include "forms/form.h"

namespace wdx::editor::layout {

inline constexpr int kMargin = 8;
inline constexpr int kButtonWidth = 75;
inline constexpr int kButtonHeight = 25;
inline constexpr int kButtonGap = 6;

// Ok, Cancel and (when given) Help stacked at the right edge of the client area, from the top.
inline void ButtonColumn(forms::Form& form, forms::Button& ok, forms::Button& cancel, forms::Button* help) {
  const int left = form.clientWidth() - kMargin - kButtonWidth;
  int top = kMargin + 6;
  for (forms::Button* b : {&ok, &cancel, help}) {
    if (b == nullptr) continue;
    b->SetBounds(left, top, kButtonWidth, kButtonHeight);
    top += kButtonHeight + kButtonGap;
  }
}

}  // namespace wdx::editor::layout
