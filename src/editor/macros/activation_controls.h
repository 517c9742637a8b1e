// What the two dialogs that give a macro its activation (Add Macro and the change of activation)
// share: the hot key chooser (the list of all 721 keys with their use, and the field that takes a
// pressed hot key from the hook library), the mouse-click panels, and the rules behind them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "editor/direct/direct_text.h"
#include "forms/controls.h"
#include "forms/dialog.h"
#include "forms/draw_list.h"
#include "forms/form.h"
#include "platform/message_boxes.h"
#include "shared/hot_key_use.h"
#include "shared/macro_record.h"

namespace wdx::editor {

// A reserved key asks first ("Warning", Yes/No); true when the key may be used.
bool AcceptReservedKey(int index, platform::MessageBoxes& boxes, platform::WindowHandle owner);

// The hot key list and the field beside it. While the field has the focus the form is the
// window the hook library sends every pressed hot key's index to (UM_HOTKEYINDEX); it stops
// being that window when the field loses the focus, when the form closes and when the chooser
// goes.
class HotKeyChooser {
 public:
  static constexpr int kRowHeight = 18;
  using SecondaryWindow = std::function<void(platform::WindowHandle window, bool on)>;

  HotKeyChooser(forms::Form& form, SecondaryWindow setSecWind);
  ~HotKeyChooser();
  HotKeyChooser(const HotKeyChooser&) = delete;
  HotKeyChooser& operator=(const HotKeyChooser&) = delete;

  forms::Edit HotKeyEntry;
  forms::DrawListBox KeyList;

  void Fill(const HotKeyUse& use);
  // The chosen index, or -1.
  int Selected() const { return KeyList.itemIndex(); }
  // Chooses a row and shows its key's name; an index outside the rows chooses nothing.
  void Choose(int index);
  // UM_HOTKEYINDEX: true when the message was one.
  bool Message(std::uint32_t message, std::uint64_t wparam);
  void Register(bool on);

  // Run after a row was chosen (click or pressed key), and when the field gains or loses the
  // focus (after the registration changed).
  std::function<void()> onChoose;
  std::function<void(bool focused)> onFocus;

 private:
  void DrawRow(int index, const platform::Rect& rect, forms::Canvas& canvas);

  forms::Form& form_;
  SecondaryWindow setSecWind_;
  bool registered_ = false;
};

// The mouse panels: the button and what to click on, then either the screen area's four
// coordinates or the window part. `owner` shows the warnings; `relayout` runs after the choice
// between area and part changed.
class MousePanels {
 public:
  MousePanels(forms::Form& form, platform::MessageBoxes& boxes, std::function<void()> relayout);

  forms::Panel ClickPanel1;
  forms::Label ButtonLabel;
  forms::Panel ButtonPanel;
  forms::RadioButton LeftMButton;
  forms::RadioButton MiddleButton;
  forms::RadioButton RightMButton;
  forms::Label ClickLabel;
  forms::Panel WherePanel;
  forms::RadioButton ScreenArea;
  forms::RadioButton WindowPart;
  forms::Panel ClickPanel2;
  forms::Label AreaText;
  forms::Label TopLabel;
  forms::Edit MTop;
  forms::Label LeftLabel;
  forms::Edit MLeft;
  forms::Label BottomLabel;
  forms::Edit MBottom;
  forms::Label RightLabel;
  forms::Edit MRight;
  forms::Panel ClickPanel3;
  forms::RadioButton MaxButt;
  forms::RadioButton MinButt;
  forms::RadioButton SysButt;
  forms::RadioButton VertButt;
  forms::RadioButton HorzButt;
  forms::RadioButton BordButt;
  forms::RadioButton TitleButt;
  forms::RadioButton MenuButt;

  // Places the panels from (left, top) within `width`; they take kHeight pixels.
  static constexpr int kHeight = 124;
  void Place(int left, int top, int width);
  // "&Left", "&Area On Screen" and "Title Bar" chosen.
  void Reset();
  // Shows and enables the panels of the chosen variant, or hides and disables all of them.
  void Show(bool on);
  MouseChoice Read() const;

 private:
  void SetLeftButtonStuff();
  void LeftClick();
  void PartClick();
  void MoveToTitle();

  forms::Form& form_;
  platform::MessageBoxes& boxes_;
  std::function<void()> relayout_;
  bool shown_ = false;
};

}  // namespace wdx::editor
