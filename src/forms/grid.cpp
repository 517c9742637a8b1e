#include "forms/grid.h"

#include <algorithm>

#include "forms/form.h"

namespace wdx::forms {

DrawGrid::DrawGrid(Parent parent, std::string name)
    : Control(parent, ControlKind::kDrawGrid, std::move(name), {}, 320, 120) {
  focusable_ = true;
}

void DrawGrid::SetColCount(int n) {
  n = std::max(n, 1);
  if (n == colCount()) return;
  colWidths_.resize(static_cast<std::size_t>(n), 64);
  fixedCols_ = std::min(fixedCols_, n - 1);
  Changed(prop::kOptions);
}

void DrawGrid::SetRowCount(int n) {
  n = std::max(n, 2);
  if (n == rowCount_) return;
  rowCount_ = n;
  row_ = std::clamp(row_, 1, rowCount_ - 1);
  Changed(prop::kItems | prop::kSelection);
}

void DrawGrid::SetFixedCols(int n) {
  n = std::clamp(n, 0, colCount() - 1);
  if (n == fixedCols_) return;
  fixedCols_ = n;
  Changed(prop::kItems);
}

int DrawGrid::colWidth(int col) const {
  if (col < 0 || col >= colCount()) return 0;
  return colWidths_[static_cast<std::size_t>(col)];
}

void DrawGrid::SetColWidth(int col, int width) {
  if (col < 0 || col >= colCount()) return;
  width = std::max(width, 0);
  if (colWidths_[static_cast<std::size_t>(col)] == width) return;
  colWidths_[static_cast<std::size_t>(col)] = width;
  Changed(prop::kOptions);
}

void DrawGrid::SetDefaultRowHeight(int h) {
  h = std::max(h, 1);
  if (h == rowHeight_) return;
  rowHeight_ = h;
  Changed(prop::kOptions);
}

void DrawGrid::SetTitleRowHeight(int h) {
  h = std::max(h, 1);
  if (h == titleHeight_) return;
  titleHeight_ = h;
  Changed(prop::kOptions);
}

void DrawGrid::SetRow(int r) {
  r = std::clamp(r, 1, rowCount_ - 1);
  if (r == row_) return;
  row_ = r;
  Changed(prop::kSelection);
}

CellState DrawGrid::StateOf(int col, int row) const {
  CellState state;
  state.fixed = row == 0 || col < fixedCols_;
  state.selected = row == row_ && row > 0;
  return state;
}

void DrawGrid::DrawCell(int col, int row, const platform::Rect& rect, Canvas& canvas) {
  const CellState state = StateOf(col, row);
  canvas.font = font();
  if (state.fixed) {
    canvas.brushColor = kColorButtonFace;
  } else if (state.selected) {
    canvas.brushColor = kColorHighlight;
    canvas.font.color = kColorHighlightText;
  } else {
    canvas.brushColor = kColorWindow;
  }
  if (onDrawCell) {
    onDrawCell(col, row, rect, state, canvas);
  } else {
    canvas.FillRect(rect);
  }
}

bool DrawGrid::UserPick(int index) {
  if (index < 1 || index >= rowCount_) return false;
  FocusByUser();
  SetRow(index);
  form().Dispatch(onClick);
  return true;
}

std::string CellText(DrawGrid& grid, int col, int row) {
  RecordingCanvas canvas;
  const int height = row == 0 ? grid.titleRowHeight() : grid.defaultRowHeight();
  grid.DrawCell(col, row, {0, 0, grid.colWidth(col), height}, canvas);
  return canvas.AllText();
}

}  // namespace wdx::forms
