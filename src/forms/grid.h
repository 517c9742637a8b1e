// An owner-drawn grid: rows of cells that the grid's onDrawCell paints, under a title row
// (row 0) that stays in place; the first fixedCols columns are headings drawn in the button
// face colour. Rows are chosen whole, one at a time; the user sizes columns by dragging the
// borders of the title row.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms/canvas.h"
#include "forms/control.h"

namespace wdx::forms {

enum class MouseButton { kLeft, kRight, kMiddle };

// What the draw handler is told about a cell.
struct CellState {
  bool selected = false;  // in the chosen row (data rows only)
  bool fixed = false;     // a title or heading cell
  bool operator==(const CellState&) const = default;
};

class DrawGrid : public Control {
 public:
  DrawGrid(Parent parent, std::string name);

  int colCount() const { return static_cast<int>(colWidths_.size()); }
  void SetColCount(int n);
  // Rows including the title row (at least 2: one data row always shows, empty or not).
  int rowCount() const { return rowCount_; }
  void SetRowCount(int n);
  int fixedCols() const { return fixedCols_; }
  void SetFixedCols(int n);
  int colWidth(int col) const;
  void SetColWidth(int col, int width);
  int defaultRowHeight() const { return rowHeight_; }
  void SetDefaultRowHeight(int h);
  int titleRowHeight() const { return titleHeight_; }
  void SetTitleRowHeight(int h);

  // The chosen data row (1 .. rowCount - 1). Setting it keeps it inside the data rows.
  int row() const { return row_; }
  void SetRow(int r);

  // The cells are drawn again (the data behind them changed).
  void Repaint() { Changed(prop::kItems); }

  // Paints one cell: the canvas gets the control's font and the brush of the cell's state
  // (highlight for the chosen row, button face for fixed cells, window colour otherwise),
  // then onDrawCell runs (without one the cell is only filled).
  void DrawCell(int col, int row, const platform::Rect& rect, Canvas& canvas);
  CellState StateOf(int col, int row) const;

  std::function<void(int col, int row, const platform::Rect& rect, CellState state, Canvas& canvas)> onDrawCell;
  // The user ended dragging the border of a column and its width changed to `width` (> 1).
  std::function<void(int col, int width)> onColumnSized;
  // A mouse button went down and up inside the same row (row 0: the title row).
  std::function<void(MouseButton button, int col, int row)> onCellClick;
  // Keys typed while the grid has the focus (set the key to 0 to swallow it).
  std::function<void(char& key)> onKeyPress;
  std::function<void(std::uint8_t& vk)> onKeyDown;

  // --- The user's actions (forms/user.h)
  // Chooses a data row (onClick).
  bool UserPick(int index) override;

 private:
  std::vector<int> colWidths_ = std::vector<int>(5, 64);
  int rowCount_ = 2;
  int fixedCols_ = 1;
  int rowHeight_ = 24;
  int titleHeight_ = 24;
  int row_ = 1;
};

// What cell (col, row) shows: the texts its draw handler draws, joined by a blank. Tests read
// the grid with it, and the Win32 view gives it to screen readers and test drivers.
std::string CellText(DrawGrid& grid, int col, int row);

}  // namespace wdx::forms
