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
#include <cstdlib>
#include <optional>
#include <string>

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
  std::fclose(out);
  return 0;
}
