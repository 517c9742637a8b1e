// The measures the command dialogs share, so that they look alike: margins, the button column
// at the right edge or the button row at the bottom, radio buttons in a grid.
#pragma once

#include <initializer_list>
#include <span>

#include "forms/controls.h"
#include "forms/form.h"

namespace wdx::editor::layout {

inline constexpr int kMargin = 8;
inline constexpr int kButtonWidth = 75;
inline constexpr int kButtonHeight = 25;
inline constexpr int kButtonGap = 6;
inline constexpr int kEditHeight = 21;

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

// The buttons side by side, in the order given, at the bottom right of the client area.
inline void ButtonRow(forms::Form& form, std::initializer_list<forms::Button*> buttons) {
  const int top = form.clientHeight() - kMargin - kButtonHeight;
  int left = form.clientWidth() - static_cast<int>(buttons.size()) * (kButtonWidth + kMargin);
  for (forms::Button* b : buttons) {
    b->SetBounds(left, top, kButtonWidth, kButtonHeight);
    left += kButtonWidth + kMargin;
  }
}

// Radio buttons of one group box filled row by row into `columns` columns `width` pixels
// apart, below the box's heading.
inline void RadioGrid(std::span<forms::RadioButton* const> buttons, int columns, int width) {
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const int column = static_cast<int>(i) % columns;
    const int row = static_cast<int>(i) / columns;
    buttons[i]->SetBounds(14 + column * width, 22 + row * 26, width - 6, 20);
  }
}

}  // namespace wdx::editor::layout
