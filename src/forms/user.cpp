#include "forms/user.h"

#include <vector>

namespace wdx::forms::user {

namespace {

bool CanAct(const Control& c) { return c.form().AcceptsInput() && c.Usable(); }

// Clicking into a control that takes the focus gives it the focus first.
void FocusOnClick(Control& c) {
  if (c.CanFocus() && !c.Focused()) c.form().SetFocus(&c);
}

void Run(Form& form, const std::function<void()>& handler) { form.Dispatch(handler); }

}  // namespace

bool Click(Control& c) {
  if (!CanAct(c)) return false;
  Form& form = c.form();
  FocusOnClick(c);
  switch (c.kind()) {
    case ControlKind::kButton: {
      auto& button = static_cast<Button&>(c);
      Run(form, [&] {
        if (button.modalResult() != ModalResult::kNone) form.SetModalResult(button.modalResult());
        if (button.onClick) button.onClick();
      });
      return true;
    }
    case ControlKind::kCheckBox: {
      auto& box = static_cast<CheckBox&>(c);
      box.SetChecked(!box.checked());
      Run(form, box.onClick);
      return true;
    }
    case ControlKind::kRadioButton: {
      auto& radio = static_cast<RadioButton&>(c);
      if (radio.checked()) return true;
      radio.SetChecked(true);
      Run(form, radio.onClick);
      return true;
    }
    default:
      Run(form, c.onClick);
      return true;
  }
}

bool DoubleClick(Control& c) {
  if (!CanAct(c)) return false;
  FocusOnClick(c);
  Run(c.form(), c.onDblClick);
  return true;
}

namespace {

bool TakesText(const Control& c) {
  switch (c.kind()) {
    case ControlKind::kEdit:
      return !static_cast<const Edit&>(c).readOnly();
    case ControlKind::kMemo:
      return !static_cast<const Memo&>(c).readOnly();
    case ControlKind::kComboBox:
      return static_cast<const ComboBox&>(c).style() == ComboStyle::kDropDown;
    default:
      return false;
  }
}

int MaxLengthOf(const Control& c) {
  switch (c.kind()) {
    case ControlKind::kEdit:
      return static_cast<const Edit&>(c).maxLength();
    case ControlKind::kMemo:
      return static_cast<const Memo&>(c).maxLength();
    case ControlKind::kComboBox:
      return static_cast<const ComboBox&>(c).maxLength();
    default:
      return 0;
  }
}

}  // namespace

bool TextChanged(Control& c, std::string text) {
  if (!c.form().AcceptsInput()) return false;
  if (text == c.text()) return true;
  if (c.kind() == ControlKind::kComboBox) {
    static_cast<ComboBox&>(c).SetComboText(std::move(text));
  } else {
    c.SetText(std::move(text));
  }
  Run(c.form(), c.onChange);
  return true;
}

bool EnterText(Control& c, std::string_view text) {
  if (!CanAct(c) || !TakesText(c)) return false;
  FocusOnClick(c);
  const int limit = MaxLengthOf(c);
  if (limit > 0 && text.size() > static_cast<std::size_t>(limit)) text = text.substr(0, static_cast<std::size_t>(limit));
  return TextChanged(c, std::string(text));
}

bool Select(Control& c, int index) {
  if (!CanAct(c)) return false;
  Form& form = c.form();
  switch (c.kind()) {
    case ControlKind::kListBox: {
      auto& list = static_cast<ListBox&>(c);
      if (index < 0 || index >= list.count()) return false;
      FocusOnClick(c);
      if (list.multiSelect()) {
        for (int i = 0; i < list.count(); ++i) list.SetSelected(i, i == index);
      }
      list.SetItemIndex(index);
      Run(form, list.onClick);
      return true;
    }
    case ControlKind::kComboBox: {
      auto& combo = static_cast<ComboBox&>(c);
      if (index < 0 || index >= combo.count()) return false;
      FocusOnClick(c);
      const std::string before = combo.text();
      combo.SetItemIndex(index);
      Run(form, [&] {
        if (combo.onClick) combo.onClick();
        if (combo.text() != before && combo.onChange) combo.onChange();
      });
      return true;
    }
    case ControlKind::kPageControl: {
      auto& pages = static_cast<PageControl&>(c);
      if (index < 0 || index >= static_cast<int>(pages.pages().size())) return false;
      if (index == pages.activePageIndex()) return true;
      pages.SetActivePageIndex(index);
      // The focus cannot stay on a control of a page that went away.
      if (form.activeControl() && !form.activeControl()->CanFocus()) form.SetFocus(&pages);
      Run(form, pages.onChange);
      return true;
    }
    default:
      return false;
  }
}

bool ToggleSelected(ListBox& list, int index) {
  if (!CanAct(list) || index < 0 || index >= list.count()) return false;
  FocusOnClick(list);
  if (list.multiSelect()) {
    list.SetSelected(index, !list.selected(index));
    list.SetItemIndex(index);
  } else {
    list.SetItemIndex(list.itemIndex() == index ? -1 : index);
  }
  Run(list.form(), list.onClick);
  return true;
}

bool Focus(Control& c) {
  if (!CanAct(c) || !c.CanFocus()) return false;
  return c.form().SetFocus(&c);
}

bool Tab(Form& form, bool backwards) {
  if (!form.AcceptsInput()) return false;
  std::vector<Control*> stops;
  for (Control* c : form.controls()) {
    if ((c->TabTarget() || c == form.activeControl()) && c->CanFocus()) stops.push_back(c);
  }
  if (stops.empty()) return false;
  std::size_t at = stops.size();
  for (std::size_t i = 0; i < stops.size(); ++i) {
    if (stops[i] == form.activeControl()) at = i;
  }
  std::size_t next;
  if (at == stops.size()) {
    next = backwards ? stops.size() - 1 : 0;
  } else {
    next = backwards ? (at + stops.size() - 1) % stops.size() : (at + 1) % stops.size();
  }
  return form.SetFocus(stops[next]);
}

bool PressEnter(Form& form) {
  if (!form.AcceptsInput()) return false;
  Control* focused = form.activeControl();
  if (focused && focused->kind() == ControlKind::kButton && focused->Usable()) return Click(*focused);
  if (focused && focused->kind() == ControlKind::kMemo && static_cast<Memo*>(focused)->wantReturns()) return false;
  Button* button = form.DefaultButton();
  return button && Click(*button);
}

bool PressEscape(Form& form) {
  if (!form.AcceptsInput()) return false;
  Button* button = form.CancelButton();
  return button && Click(*button);
}

bool ChooseMenu(Form& form, std::string_view itemName) {
  MenuItem* bar = form.mainMenu();
  if (!form.AcceptsInput() || !bar || !bar->CanChoose(itemName)) return false;
  Run(form, bar->Find(itemName)->onClick);
  return true;
}

bool CloseBox(Form& form) {
  if (!form.AcceptsInput()) return false;
  form.Close();
  return true;
}

bool SpinUp(SpinButton& spin) {
  if (!CanAct(spin)) return false;
  Run(spin.form(), spin.onUpClick);
  return true;
}

bool SpinDown(SpinButton& spin) {
  if (!CanAct(spin)) return false;
  Run(spin.form(), spin.onDownClick);
  return true;
}

bool FireTimer(Timer& timer) {
  Form& form = timer.form();
  if (!form.AcceptsInput() || !timer.Running()) return false;
  Run(form, timer.onTimer);
  return true;
}

std::uint8_t KeyDown(Form& form, std::uint8_t vk) {
  if (!form.AcceptsInput() || !form.keyPreview() || !form.onKeyDown) return vk;
  Run(form, [&] { form.onKeyDown(vk); });
  return vk;
}

char KeyPress(Form& form, char ch) {
  if (!form.AcceptsInput() || !form.keyPreview() || !form.onKeyPress) return ch;
  Run(form, [&] { form.onKeyPress(ch); });
  return ch;
}

}  // namespace wdx::forms::user
