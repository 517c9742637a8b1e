// Push buttons, check boxes, radio buttons and the spin button's arrows.

#include "forms/controls.h"
#include "forms/user.h"
#include "forms/win32/adapters.h"

namespace wdx::forms::win32 {

namespace {

// The three kinds of the BUTTON class report clicks and the focus alike.
class ButtonFamily : public ControlAdapter {
 public:
  void Command(Native& n, int code) const override {
    if (code == BN_CLICKED) {
      user::Click(*n.control);
    } else if (code == BN_DOUBLECLICKED) {
      user::DoubleClick(*n.control);
    } else if (code == BN_SETFOCUS) {
      Focused(n);
    }
  }
};

DWORD PushStyle(const Button& b) {
  return BS_NOTIFY | (b.isDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | (b.multiLine() ? BS_MULTILINE : 0);
}

class ButtonKind : public ButtonFamily {
 public:
  NativeClass Class(const Control& c, const Control*) const override {
    return {"BUTTON", WS_TABSTOP | PushStyle(static_cast<const Button&>(c))};
  }
  void Apply(ViewAccess&, Native& n, unsigned props) const override {
    if (props & prop::kOptions) {
      SendMessageA(n.hwnd, BM_SETSTYLE, static_cast<WPARAM>(PushStyle(static_cast<const Button&>(*n.control))), TRUE);
    }
    if (props & prop::kText) ApplyText(n);
  }
};

// Check boxes and radio buttons: their caption and their check mark.
template <class Box>
void ApplyBox(Native& n, unsigned props) {
  if (props & prop::kText) ApplyText(n);
  if (props & prop::kChecked) {
    SendMessageA(n.hwnd, BM_SETCHECK, static_cast<const Box&>(*n.control).checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

class CheckBoxKind : public ButtonFamily {
 public:
  NativeClass Class(const Control&, const Control*) const override {
    return {"BUTTON", WS_TABSTOP | BS_CHECKBOX | BS_NOTIFY};
  }
  void Apply(ViewAccess&, Native& n, unsigned props) const override {
    ApplyBox<CheckBox>(n, props);
  }
};

// Radio buttons of one parent made one after the other form one group: the arrows move inside
// it and Tab enters it once, at its first button.
class RadioButtonKind : public ButtonFamily {
 public:
  NativeClass Class(const Control& c, const Control* previous) const override {
    NativeClass n{"BUTTON", BS_RADIOBUTTON | BS_NOTIFY};
    n.continuesGroup =
        previous && previous->kind() == ControlKind::kRadioButton && previous->parent() == c.parent();
    if (!n.continuesGroup) n.style |= WS_TABSTOP;
    return n;
  }
  void Apply(ViewAccess&, Native& n, unsigned props) const override {
    ApplyBox<RadioButton>(n, props);
  }
};

// The up-down control only reports which arrow was pressed; the handlers step the number.
class SpinButtonKind : public ControlAdapter {
 public:
  NativeClass Class(const Control&, const Control*) const override { return {UPDOWN_CLASSA, UDS_ARROWKEYS, 0, false}; }
  void Created(Native& n) const override {
    SendMessageA(n.hwnd, UDM_SETRANGE32, 0, 100);
    SendMessageA(n.hwnd, UDM_SETPOS32, 0, 50);
  }
  void Apply(ViewAccess&, Native&, unsigned) const override {}
  LRESULT Notify(Native& n, const NMHDR& hdr) const override {
    if (hdr.code != UDN_DELTAPOS) return 0;
    const auto& ud = reinterpret_cast<const NMUPDOWN&>(hdr);
    auto& spin = static_cast<SpinButton&>(*n.control);
    if (ud.iDelta > 0) {
      user::SpinUp(spin);
    } else if (ud.iDelta < 0) {
      user::SpinDown(spin);
    }
    return 1;  // the arrows stay where they are
  }
};

}  // namespace

const ControlAdapter& ButtonAdapter() { return The<ButtonKind>(); }
const ControlAdapter& CheckBoxAdapter() { return The<CheckBoxKind>(); }
const ControlAdapter& RadioButtonAdapter() { return The<RadioButtonKind>(); }
const ControlAdapter& SpinButtonAdapter() { return The<SpinButtonKind>(); }

}  // namespace wdx::forms::win32
