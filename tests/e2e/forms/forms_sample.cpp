// wdxformsample: a Windows program that shows forms of the toolkit through the Win32 runner,
// for the end-to-end test (run.sh) to drive from outside as a user would.
//
// 1. "Wendrix Forms Sample", modal, stay-on-top tool window: a number field checked by Ok (an
//    "Error" box and the focus back on the field when it is not a number), a check box, a
//    drop-down list, radio buttons in a group box, a list, a spin button, pages, a timer that
//    counts ticks into a label, a menu bar, a button that opens a pop-up menu, Ok (default)
//    and Cancel (cancel).
// 2. "Wendrix Forms Box", shown without waiting: a memo and a timer that closes the box after
//    half a second; the program's own message loop runs until it has closed.
//
// Everything the forms reported goes to the file named by the first argument, one key=value
// a line.
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/forms.h"
#include "forms/win32/win32_runner.h"
#include "platform/win32/win32_system.h"

namespace {

using namespace wdx::forms;

// The dialog's model: what Ok takes from the fields, and the check of the number.
struct SampleModel {
  std::string value;
  bool remember = false;
  std::string choice;
  std::string size;
  std::string count;
  std::string item;

  std::optional<Fault> Check() const {
    bool digits = !value.empty();
    for (char c : value) digits = digits && c >= '0' && c <= '9';
    if (!digits) return Fault{"Value", "Invalid integer value entered.  Please correct."};
    return std::nullopt;
  }
};

class SampleDialog : public Form {
 public:
  SampleDialog(SampleModel& model, wdx::platform::MessageBoxes& boxes)
      : Form("SampleDialog", "Wendrix Forms Sample"), model_(model), boxes_(boxes) {
    SetStayOnTop(true);
    SetToolWindow(true);
    SetClientSize(380, 260);
    ValueLabel.SetBounds(8, 10, 60, 16);
    Value.SetBounds(72, 8, 100, 21);
    Value.SetMaxLength(5);
    Remember.SetBounds(8, 38, 120, 17);
    Choice.SetBounds(8, 62, 120, 21);
    Choice.SetItems({"Red", "Green", "Blue"});
    Choice.SetItemIndex(0);
    TickLabel.SetBounds(90, 95, 90, 16);
    TickLabel.SetFontColor(kColorRed);
    SizeBox.SetBounds(190, 4, 180, 66);
    Small.SetBounds(10, 18, 100, 17);
    Large.SetBounds(10, 40, 100, 17);
    Small.SetChecked(true);
    Count.SetBounds(8, 92, 50, 21);
    CountSpin.SetBounds(58, 92, 17, 21);
    CountSpin.onUpClick = [this] { Count.SetText(std::to_string(std::atoi(Count.text().c_str()) + 1)); };
    CountSpin.onDownClick = [this] { Count.SetText(std::to_string(std::atoi(Count.text().c_str()) - 1)); };
    Items.SetBounds(190, 80, 180, 64);
    Items.SetSorted(true);
    Items.SetItems({"pear", "Apple", "fig"});
    Pages.SetBounds(8, 122, 175, 92);
    PageOneLabel.SetBounds(8, 8, 150, 16);
    PageTwoCheck.SetBounds(8, 8, 150, 17);
    OkButton.SetBounds(110, 226, 75, 25);
    OkButton.SetDefault(true);
    CancelButton.SetBounds(198, 226, 75, 25);
    CancelButton.SetCancel(true);
    CancelButton.SetModalResult(ModalResult::kCancel);
    onShow = [this] {
      SetLeft((GetSystemMetrics(SM_CXSCREEN) - width()) / 2);
      SetTop((GetSystemMetrics(SM_CYSCREEN) - height()) / 2);
      Value.SetFocus();
    };
    onActivate = [this] { ++activations; };
    Ticker.onTimer = [this] {
      ++ticks;
      TickLabel.SetCaption("Ticks: " + std::to_string(ticks));
    };
    OkButton.onClick = [this] { OkButtonClick(); };
    MenuItem& file = Bar.Add("FileMenu", "&File");
    file.Add("TickRemember", "&Tick Remember", [this] { Remember.SetChecked(true); });
    file.Add("Never", "&Never").enabled = false;
    SetMainMenu(&Bar);
    MenuButton.SetBounds(290, 150, 80, 25);
    MenuButton.onClick = [this] {
      MenuItem menu;
      menu.Add("Alpha", "&Alpha", [this] { picked = "Alpha"; });
      menu.Add("Beta", "&Beta", [this] { picked = "Beta"; });
      RECT r;
      GetWindowRect(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(Handle())), &r);
      runner_->Popup(menu, {static_cast<int>(r.left) + 290, static_cast<int>(r.top) + 200}, Handle());
    };
  }

  void SetRunner(FormRunner* runner) { runner_ = runner; }

  Label ValueLabel{this, "ValueLabel", "&Value"};
  Edit Value{this, "Value"};
  CheckBox Remember{this, "Remember", "&Remember"};
  ComboBox Choice{this, "Choice", ComboStyle::kDropDownList};
  Label TickLabel{this, "TickLabel", "Ticks: 0"};
  GroupBox SizeBox{this, "SizeBox", "Size"};
  RadioButton Small{&SizeBox, "Small", "&Small"};
  RadioButton Large{&SizeBox, "Large", "&Large"};
  Edit Count{this, "Count", "5"};
  SpinButton CountSpin{this, "CountSpin"};
  ListBox Items{this, "Items"};
  PageControl Pages{this, "Pages"};
  TabSheet PageOne{&Pages, "PageOne", "&First"};
  TabSheet PageTwo{&Pages, "PageTwo", "S&econd"};
  Label PageOneLabel{&PageOne, "PageOneLabel", "Page one"};
  CheckBox PageTwoCheck{&PageTwo, "PageTwoCheck", "On page two"};
  Button OkButton{this, "OkButton", "&Ok"};
  Button CancelButton{this, "CancelButton", "&Cancel"};
  Timer Ticker{this, "Ticker", 100, true};
  Button MenuButton{this, "MenuButton", "&Menu"};
  MenuItem Bar;
  std::string picked;

  int ticks = 0;
  int errors = 0;
  FormRunner* runner_ = nullptr;
  int activations = 0;
  std::string focusAfterError;

 private:
  void OkButtonClick() {
    model_.value = Value.text();
    model_.remember = Remember.checked();
    model_.choice = Choice.text();
    model_.size = Large.checked() ? "Large" : Small.checked() ? "Small" : "";
    model_.count = Count.text();
    model_.item = Items.item(Items.itemIndex());
    if (Accept(*this, model_.Check(), boxes_)) return;
    ++errors;
    focusAfterError = activeControl() ? activeControl()->name() : "";
  }

  SampleModel& model_;
  wdx::platform::MessageBoxes& boxes_;
};

class SampleBox : public Form {
 public:
  SampleBox() : Form("SampleBox", "Wendrix Forms Box") {
    SetStayOnTop(true);
    SetToolWindow(true);
    SetBounds(40, 40, 220, 120);
    TheMessage.SetReadOnly(true);
    TheMessage.SetScrollBars(ScrollBars::kVertical);
    onResize = [this] { TheMessage.SetBounds(4, 4, clientWidth() - 8, clientHeight() - 8); };
    CloseTimer.onTimer = [this] { Close(); };
    onClose = [this](CloseAction&) {
      closedByTimer = true;
      PostQuitMessage(0);
    };
  }
  Memo TheMessage{this, "TheMessage", "first line\r\nsecond line"};
  Timer CloseTimer{this, "CloseTimer", 500, true};
  bool closedByTimer = false;
};

// 3. "Wendrix Forms Grid", modal and sizeable: a menu bar whose "Remove Row" has the shortcut
//    Del, speed buttons with hints, and an owner-drawn grid of fruit; a right click on a title
//    turns the order round; "Done" closes it.
class GridWindow : public Form {
 public:
  GridWindow() : Form("GridWindow", "Wendrix Forms Grid") {
    SetBorderStyle(BorderStyle::kSizeable);
    SetClientSize(480, 260);
    MenuItem& edit = Bar.Add("EditMenu", "&Edit");
    edit.Add("RemoveRow", "&Remove Row", [this] { RemoveRow(); }).shortcut = Shortcut{VK_DELETE};
    SetMainMenu(&Bar);
    Tools.SetBounds(0, 0, 420, 31);
    NewButton.SetBounds(3, 3, 25, 25);
    DeleteButton.SetBounds(29, 3, 25, 25);
    DeleteButton.onClick = [this] { RemoveRow(); };
    Grid.SetBounds(4, 34, 412, 190);
    Grid.SetColCount(3);
    Grid.SetFixedCols(1);
    Grid.SetColWidth(0, 40);
    Grid.SetColWidth(1, 200);
    Grid.SetColWidth(2, 120);
    Grid.SetDefaultRowHeight(18);
    Grid.SetRowCount(static_cast<int>(rows.size()) + 1);
    Grid.onDrawCell = [this](int col, int row, const wdx::platform::Rect& r, CellState, Canvas& canvas) {
      canvas.FillRect(r);
      std::string text;
      if (row == 0) {
        const char* titles[] = {"#", "Fruit", "Letters"};
        text = titles[col];
      } else if (row <= static_cast<int>(rows.size())) {
        const std::string& name = rows[static_cast<std::size_t>(row - 1)];
        text = col == 0 ? std::to_string(row) : col == 1 ? name : std::to_string(name.size());
      }
      canvas.WriteText(r.left + 2, r.top + 1, FitText(canvas, text, r.right - r.left - 2), r);
    };
    Grid.onCellClick = [this](MouseButton button, int, int row) {
      if (button != MouseButton::kRight || row != 0) return;
      std::reverse(rows.begin(), rows.end());
      ++titleClicks;
      Grid.Repaint();
    };
    Done.SetBounds(340, 230, 75, 25);
    Done.SetModalResult(ModalResult::kOk);
    // Every picture a speed button can show, after the two that work.
    for (int g = 0; g <= static_cast<int>(Glyph::kPrint); ++g) {
      auto b = std::make_unique<SpeedButton>(&Tools, "Glyph" + std::to_string(g), static_cast<Glyph>(g), "Picture");
      b->SetBounds(64 + 26 * g, 3, 25, 25);
      glyphs.push_back(std::move(b));
    }
    onShow = [this] {
      SetLeft((GetSystemMetrics(SM_CXSCREEN) - width()) / 2);
      SetTop((GetSystemMetrics(SM_CYSCREEN) - height()) / 2);
    };
    onResize = [this] {
      Tools.SetWidth(clientWidth());
      Grid.SetBounds(4, 34, clientWidth() - 8, clientHeight() - 72);
      Done.SetBounds(clientWidth() - 80, clientHeight() - 31, 75, 25);
    };
  }

  Panel Tools{this, "Tools"};
  SpeedButton NewButton{&Tools, "NewButton", Glyph::kNew, "Add Row"};
  SpeedButton DeleteButton{&Tools, "DeleteButton", Glyph::kDelete, "Remove Row"};
  std::vector<std::unique_ptr<SpeedButton>> glyphs;
  DrawGrid Grid{this, "Grid"};
  Button Done{this, "Done", "&Done"};
  MenuItem Bar;
  std::vector<std::string> rows{"apple", "banana", "cherry", "damson"};
  std::vector<std::string> removed;
  int titleClicks = 0;

 private:
  void RemoveRow() {
    const int row = Grid.row();
    if (row < 1 || row > static_cast<int>(rows.size())) return;
    removed.push_back(rows[static_cast<std::size_t>(row - 1)]);
    rows.erase(rows.begin() + row - 1);
    Grid.SetRowCount(static_cast<int>(rows.size()) + 1);
    Grid.Repaint();
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: wdxformsample RESULT-FILE\n");
    return 2;
  }
  Win32Runner runner;
  wdx::platform::Win32MessageBoxes boxes;
  SampleModel model;
  SampleDialog dlg(model, boxes);
  dlg.SetRunner(&runner);
  const ModalResult result = runner.ShowModal(dlg);

  SampleBox box;
  runner.Show(box, false);
  const bool boxShown = box.Showing() && box.Handle() != 0;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }

  GridWindow grid;
  const ModalResult gridResult = runner.ShowModal(grid);

  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out) return 3;
  std::fprintf(out, "result=%d\n", static_cast<int>(result));
  std::fprintf(out, "value=%s\n", model.value.c_str());
  std::fprintf(out, "remember=%d\n", model.remember ? 1 : 0);
  std::fprintf(out, "choice=%s\n", model.choice.c_str());
  std::fprintf(out, "size=%s\n", model.size.c_str());
  std::fprintf(out, "count=%s\n", model.count.c_str());
  std::fprintf(out, "item=%s\n", model.item.c_str());
  std::fprintf(out, "picked=%s\n", dlg.picked.c_str());
  std::fprintf(out, "errors=%d\n", dlg.errors);
  std::fprintf(out, "focus_after_error=%s\n", dlg.focusAfterError.c_str());
  std::fprintf(out, "ticks_positive=%d\n", dlg.ticks > 0 ? 1 : 0);
  std::fprintf(out, "activations_positive=%d\n", dlg.activations > 0 ? 1 : 0);
  std::fprintf(out, "box_shown=%d\n", boxShown ? 1 : 0);
  std::fprintf(out, "box_closed_by_timer=%d\n", box.closedByTimer ? 1 : 0);
  std::fprintf(out, "box_memo_lines=%d\n", static_cast<int>(box.TheMessage.Lines().size()));
  std::fprintf(out, "text_width_positive=%d\n", runner.TextWidth(Font{}, "Wendrix") > 0 ? 1 : 0);
  std::fprintf(out, "grid_result=%d\n", static_cast<int>(gridResult));
  std::string removed;
  for (const std::string& r : grid.removed) removed += r + ",";
  std::fprintf(out, "grid_removed=%s\n", removed.c_str());
  std::fprintf(out, "grid_title_clicks=%d\n", grid.titleClicks);
  std::fclose(out);
  return 0;
}
