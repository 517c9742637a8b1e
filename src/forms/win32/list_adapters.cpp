// List boxes and combo boxes.
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/user.h"
#include "forms/win32/adapters.h"

namespace wdx::forms::win32 {

namespace {

// Room for the drop-down list below a combo box's field.
constexpr int kComboListHeight = 200;

void FillItems(HWND w, const ListControl& list, UINT reset, UINT add) {
  SendMessageA(w, reset, 0, 0);
  for (const std::string& s : list.items()) SendMessageA(w, add, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

class ListBoxKind : public ControlAdapter {
 public:
  NativeClass Class(const Control& c, const Control*) const override {
    NativeClass n{"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE, false};
    if (static_cast<const ListBox&>(c).multiSelect()) n.style |= LBS_EXTENDEDSEL;
    return n;
  }
  bool RecreateForOptions() const override { return true; }
  void Apply(ViewAccess&, Native& n, unsigned props) const override {
    const auto& l = static_cast<const ListBox&>(*n.control);
    if (props & prop::kItems) FillItems(n.hwnd, l, LB_RESETCONTENT, LB_ADDSTRING);
    if (props & (prop::kItems | prop::kSelection)) {
      if (l.multiSelect()) {
        for (int i = 0; i < l.count(); ++i) SendMessageA(n.hwnd, LB_SETSEL, l.selected(i), i);
        if (l.itemIndex() >= 0) SendMessageA(n.hwnd, LB_SETCARETINDEX, static_cast<WPARAM>(l.itemIndex()), FALSE);
      } else {
        SendMessageA(n.hwnd, LB_SETCURSEL, static_cast<WPARAM>(l.itemIndex()), 0);
      }
    }
  }
  void Command(Native& n, int code) const override {
    if (code == LBN_SELCHANGE) {
      ReadSelection(n);
    } else if (code == LBN_DBLCLK) {
      user::DoubleClick(*n.control);
    } else if (code == LBN_SETFOCUS) {
      Focused(n);
    }
  }

 private:
  // The user changed the selection natively: the model takes it, then onClick runs.
  static void ReadSelection(Native& n) {
    auto& list = static_cast<ListBox&>(*n.control);
    Form& form = list.form();
    if (!form.AcceptsInput()) return;
    if (list.multiSelect()) {
      for (int i = 0; i < list.count(); ++i) {
        list.SetSelected(i, SendMessageA(n.hwnd, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0);
      }
      list.SetItemIndex(static_cast<int>(SendMessageA(n.hwnd, LB_GETCARETINDEX, 0, 0)));
    } else {
      list.SetItemIndex(static_cast<int>(SendMessageA(n.hwnd, LB_GETCURSEL, 0, 0)));
    }
    form.Dispatch(list.onClick);
  }
};

// A drop-down list shows its selected item, which Windows keeps itself; a drop-down has a text
// of its own in its field.
class ComboBoxKind : public ControlAdapter {
 public:
  NativeClass Class(const Control& c, const Control*) const override {
    const bool pickOnly = static_cast<const ComboBox&>(c).style() == ComboStyle::kDropDownList;
    const DWORD style = WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | (pickOnly ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
    return {"COMBOBOX", style, 0, false};
  }
  int ExtraHeight() const override { return kComboListHeight; }
  bool RecreateForOptions() const override { return true; }
  void Apply(ViewAccess&, Native& n, unsigned props) const override {
    const auto& cb = static_cast<const ComboBox&>(*n.control);
    const bool ownText = cb.style() == ComboStyle::kDropDown;
    if ((props & prop::kOptions) && ownText) {
      SendMessageA(n.hwnd, CB_LIMITTEXT, static_cast<WPARAM>(cb.maxLength()), 0);
    }
    if (props & prop::kItems) FillItems(n.hwnd, cb, CB_RESETCONTENT, CB_ADDSTRING);
    if (props & (prop::kItems | prop::kSelection)) {
      SendMessageA(n.hwnd, CB_SETCURSEL, static_cast<WPARAM>(cb.itemIndex()), 0);
    }
    if ((props & (prop::kText | prop::kItems | prop::kSelection)) && ownText) ApplyText(n);
  }
  void Command(Native& n, int code) const override {
    if (code == CBN_SELCHANGE) {
      user::Select(*n.control, static_cast<int>(SendMessageA(n.hwnd, CB_GETCURSEL, 0, 0)));
    } else if (code == CBN_EDITCHANGE) {
      user::TextChanged(*n.control, WindowText(n.hwnd));
    } else if (code == CBN_SETFOCUS) {
      Focused(n);
    }
  }
};

}  // namespace

const ControlAdapter& ListBoxAdapter() { return The<ListBoxKind>(); }
const ControlAdapter& ComboBoxAdapter() { return The<ComboBoxKind>(); }

}  // namespace wdx::forms::win32
