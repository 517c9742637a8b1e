#include "editor/macros/activation_controls.h"

#include <utility>

#include "editor/dialogs/dialog_layout.h"
#include "editor/direct/direct_text.h"
#include "shared/protocol_messages.h"

namespace wdx::editor {

namespace {
constexpr char kMinMaxWarning[] = "Minimize and maximize buttons are unavailable with the left mouse click.";
}  // namespace

bool AcceptReservedKey(int index, platform::MessageBoxes& boxes, platform::WindowHandle owner) {
  const std::string question = ReservedHotKeyQuestion(index);
  return question.empty() || boxes.Show(owner, question, "Warning", platform::mb::kYesNo) == platform::mb::kIdYes;
}

// ---------------------------------------------------------------------------------------------
// The hot key chooser

HotKeyChooser::HotKeyChooser(forms::Form& form, SecondaryWindow setSecWind)
    : HotKeyEntry(&form, "HotKeyEntry"), KeyList(&form, "KeyList"), form_(form), setSecWind_(std::move(setSecWind)) {
  HotKeyEntry.SetReadOnly(true);
  KeyList.SetItemHeight(kRowHeight);
  KeyList.onDrawItem = [this](int index, const platform::Rect& rect, bool, forms::Canvas& canvas) {
    DrawRow(index, rect, canvas);
  };
  KeyList.onClick = [this] { Choose(KeyList.itemIndex()); };
  HotKeyEntry.onEnter = [this] {
    Register(true);
    if (onFocus) onFocus(true);
  };
  HotKeyEntry.onExit = [this] {
    Register(false);
    if (onFocus) onFocus(false);
  };
}

HotKeyChooser::~HotKeyChooser() { Register(false); }

void HotKeyChooser::Fill(const HotKeyUse& use) { KeyList.SetItems(use.Rows()); }

void HotKeyChooser::Choose(int index) {
  if (index < 0 || index >= KeyList.count()) return;
  KeyList.SetItemIndex(index);
  HotKeyEntry.SetText(std::string(HotKeyName(index)));
  if (onChoose) onChoose();
}

bool HotKeyChooser::Message(std::uint32_t message, std::uint64_t wparam) {
  if (message != UM_HOTKEYINDEX) return false;
  if (wparam < static_cast<std::uint64_t>(KeyList.count())) Choose(static_cast<int>(wparam));
  return true;
}

void HotKeyChooser::Register(bool on) {
  if (on == registered_ || !setSecWind_) return;
  registered_ = on;
  setSecWind_(on ? form_.Handle() : platform::kNoWindow, on);
}

void HotKeyChooser::DrawRow(int index, const platform::Rect& rect, forms::Canvas& canvas) {
  // The key's name at the left, how many macros use it from three fifths of the row.
  const HotKeyRowColumns row = SplitHotKeyListRow(KeyList.item(index));
  canvas.WriteText(rect.left + 2, rect.top + 1, row.name, rect);
  canvas.WriteText(rect.left + (rect.right - rect.left) * 3 / 5, rect.top + 1, row.use, rect);
}

// ---------------------------------------------------------------------------------------------
// The mouse panels

MousePanels::MousePanels(forms::Form& form, platform::MessageBoxes& boxes, std::function<void()> relayout)
    : ClickPanel1(&form, "ClickPanel1"),
      ButtonLabel(&ClickPanel1, "ButtonLabel", "Button to Activate With:"),
      ButtonPanel(&ClickPanel1, "ButtonPanel"),
      LeftMButton(&ButtonPanel, "LeftMButton", "&Left"),
      MiddleButton(&ButtonPanel, "MiddleButton", "M&iddle"),
      RightMButton(&ButtonPanel, "RightMButton", "&Right"),
      ClickLabel(&ClickPanel1, "ClickLabel", "What To Click On"),
      WherePanel(&ClickPanel1, "WherePanel"),
      ScreenArea(&WherePanel, "ScreenArea", "&Area On Screen"),
      WindowPart(&WherePanel, "WindowPart", "Window &Part"),
      ClickPanel2(&form, "ClickPanel2"),
      AreaText(&ClickPanel2, "AreaText", "Enter the region (in pixels) of where to click on the screen"),
      TopLabel(&ClickPanel2, "TopLabel", "Top"),
      MTop(&ClickPanel2, "MTop"),
      LeftLabel(&ClickPanel2, "LeftLabel", "Left"),
      MLeft(&ClickPanel2, "MLeft"),
      BottomLabel(&ClickPanel2, "BottomLabel", "Bottom"),
      MBottom(&ClickPanel2, "MBottom"),
      RightLabel(&ClickPanel2, "RightLabel", "Right"),
      MRight(&ClickPanel2, "MRight"),
      ClickPanel3(&form, "ClickPanel3"),
      MaxButt(&ClickPanel3, "MaxButt", "Maximize Button"),
      MinButt(&ClickPanel3, "MinButt", "Minimize Button"),
      SysButt(&ClickPanel3, "SysButt", "System Menu"),
      VertButt(&ClickPanel3, "VertButt", "Vertical Scroll Bar"),
      HorzButt(&ClickPanel3, "HorzButt", "Horiz Scroll Bar"),
      BordButt(&ClickPanel3, "BordButt", "Window Border"),
      TitleButt(&ClickPanel3, "TitleButt", "Title Bar"),
      MenuButt(&ClickPanel3, "MenuButt", "Menu"),
      form_(form),
      boxes_(boxes),
      relayout_(std::move(relayout)) {
  for (forms::Panel* p : {&ClickPanel1, &ButtonPanel, &WherePanel, &ClickPanel2, &ClickPanel3}) p->SetBevel(false);
  for (forms::Edit* e : {&MTop, &MLeft, &MBottom, &MRight}) e->SetMaxLength(5);
  AreaText.SetWordWrap(true);
  LeftMButton.onClick = [this] { LeftClick(); };
  MiddleButton.onClick = [this] { SetLeftButtonStuff(); };
  RightMButton.onClick = [this] { SetLeftButtonStuff(); };
  ScreenArea.onClick = [this] {
    Show(shown_);
    if (relayout_) relayout_();
  };
  WindowPart.onClick = [this] { PartClick(); };
}

void MousePanels::Place(int left, int top, int width) {
  constexpr int kFirstWidth = 172;
  ClickPanel1.SetBounds(left, top, kFirstWidth, kHeight);
  ButtonLabel.SetBounds(0, 2, kFirstWidth, 16);
  ButtonPanel.SetBounds(0, 20, kFirstWidth, 24);
  LeftMButton.SetBounds(2, 2, 50, 20);
  MiddleButton.SetBounds(56, 2, 60, 20);
  RightMButton.SetBounds(118, 2, 54, 20);
  ClickLabel.SetBounds(0, 56, kFirstWidth, 16);
  WherePanel.SetBounds(0, 74, kFirstWidth, 48);
  ScreenArea.SetBounds(2, 2, 150, 20);
  WindowPart.SetBounds(2, 26, 150, 20);

  const int rest = width - kFirstWidth - layout::kMargin;
  const int restLeft = left + kFirstWidth + layout::kMargin;
  ClickPanel2.SetBounds(restLeft, top, rest, kHeight);
  ClickPanel3.SetBounds(restLeft, top, rest, kHeight);
  AreaText.SetBounds(0, 2, rest, 32);
  forms::Label* const labels[] = {&TopLabel, &LeftLabel, &BottomLabel, &RightLabel};
  forms::Edit* const edits[] = {&MTop, &MLeft, &MBottom, &MRight};
  const int step = rest / 4;
  for (int i = 0; i < 4; ++i) {
    labels[i]->SetBounds(i * step, 42, step - 8, 16);
    edits[i]->SetBounds(i * step, 60, step - 8, layout::kEditHeight);
  }
  forms::RadioButton* const parts[] = {&MaxButt, &MinButt, &SysButt, &VertButt, &HorzButt, &BordButt, &TitleButt, &MenuButt};
  for (int i = 0; i < 8; ++i) parts[i]->SetBounds((i % 2) * (rest / 2), 2 + (i / 2) * 26, rest / 2 - 4, 20);
}

void MousePanels::Reset() {
  LeftMButton.SetChecked(true);
  ScreenArea.SetChecked(true);
  TitleButt.SetChecked(true);
  SetLeftButtonStuff();
}

void MousePanels::Show(bool on) {
  shown_ = on;
  const bool area = ScreenArea.checked();
  ClickPanel1.SetVisible(on);
  ClickPanel1.SetEnabled(on);
  ClickPanel2.SetVisible(on && area);
  ClickPanel2.SetEnabled(on && area);
  ClickPanel3.SetVisible(on && !area);
  ClickPanel3.SetEnabled(on && !area);
}

MouseChoice MousePanels::Read() const {
  MouseChoice c;
  c.button = LeftMButton.checked() ? 1 : MiddleButton.checked() ? 2 : 3;
  c.windowPart = WindowPart.checked();
  const std::pair<const forms::RadioButton*, MouseChoice::Part> parts[] = {
      {&MaxButt, MouseChoice::kMaximize}, {&MinButt, MouseChoice::kMinimize}, {&SysButt, MouseChoice::kSystemMenu},
      {&VertButt, MouseChoice::kVertical}, {&HorzButt, MouseChoice::kHorizontal}, {&BordButt, MouseChoice::kBorder},
      {&TitleButt, MouseChoice::kTitle},   {&MenuButt, MouseChoice::kMenu}};
  for (const auto& [button, part] : parts) {
    if (button->checked()) c.part = part;
  }
  c.top = MTop.text();
  c.left = MLeft.text();
  c.bottom = MBottom.text();
  c.right = MRight.text();
  return c;
}

void MousePanels::SetLeftButtonStuff() {
  if (!WindowPart.checked()) return;
  MaxButt.SetEnabled(!LeftMButton.checked());
  MinButt.SetEnabled(!LeftMButton.checked());
}

void MousePanels::MoveToTitle() {
  boxes_.Show(form_.Handle(), kMinMaxWarning, "Warning", platform::mb::kOk);
  TitleButt.SetChecked(true);
  TitleButt.SetFocus();
}

void MousePanels::LeftClick() {
  if (WindowPart.checked() && (MaxButt.checked() || MinButt.checked())) MoveToTitle();
  SetLeftButtonStuff();
}

void MousePanels::PartClick() {
  Show(shown_);
  if (relayout_) relayout_();
  if (LeftMButton.checked() && (MaxButt.checked() || MinButt.checked())) MoveToTitle();
  SetLeftButtonStuff();
}

}  // namespace wdx::editor
