#include "forms/draw_list.h"

#include "forms/form.h"

namespace wdx::forms {

DrawListBox::DrawListBox(Parent parent, std::string name)
    : ListControl(parent, ControlKind::kDrawListBox, std::move(name), 300, 100) {}

void DrawListBox::SetItemHeight(int h) {
  if (h < 1 || h == itemHeight_) return;
  itemHeight_ = h;
  Changed(prop::kOptions);
}

void DrawListBox::DrawItem(int index, const platform::Rect& rect, Canvas& canvas) {
  if (index < 0 || index >= count()) return;
  const bool selected = index == itemIndex();
  canvas.font = font();
  canvas.font.color = selected ? kColorHighlightText : font().color;
  canvas.brushColor = selected ? kColorHighlight : kColorWindow;
  canvas.FillRect(rect);
  if (onDrawItem) onDrawItem(index, rect, selected, canvas);
}

bool DrawListBox::UserPick(int index) {
  if (index < 0 || index >= count()) return false;
  SetItemIndex(index);
  form().Dispatch(onClick);
  return true;
}

std::string ItemText(DrawListBox& list, int index) {
  RecordingCanvas canvas;
  list.DrawItem(index, {0, 0, list.width(), list.itemHeight()}, canvas);
  return canvas.AllText();
}

}  // namespace wdx::forms
