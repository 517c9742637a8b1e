// An owner-drawn list: rows of one fixed height that the list's onDrawItem paints on a canvas.
// One row is chosen at a time; the user picks a row (onClick) or double-clicks it (onDblClick),
// and a right click on a row reports that row (onRightClick).
#pragma once

#include <functional>
#include <string>

#include "forms/canvas.h"
#include "forms/controls.h"

namespace wdx::forms {

class DrawListBox : public ListControl {
 public:
  DrawListBox(Parent parent, std::string name);

  int itemHeight() const { return itemHeight_; }
  void SetItemHeight(int h);

  // The rows are drawn again (the data behind them changed).
  void Repaint() { Changed(prop::kItems); }

  // Paints one row: the canvas gets the control's font and the brush of the row's state
  // (highlight for the chosen row, window colour otherwise) and is filled, then onDrawItem runs.
  void DrawItem(int index, const platform::Rect& rect, Canvas& canvas);

  std::function<void(int index, const platform::Rect& rect, bool selected, Canvas& canvas)> onDrawItem;
  // The right mouse button pressed and released over the same row (the row does not become
  // the chosen one).
  std::function<void(int index)> onRightClick;

  // Chooses a row (onClick).
  bool UserPick(int index) override;

 private:
  int itemHeight_ = 17;
};

// What row `index` shows: the texts its draw handler draws, joined by a blank (tests, and the
// Win32 view for whoever reads the list's texts).
std::string ItemText(DrawListBox& list, int index);

}  // namespace wdx::forms
