// One-line fields and memos (both EDIT windows).
#include "forms/controls.h"
#include "forms/user.h"
#include "forms/win32/adapters.h"

namespace wdx::forms::win32 {

namespace {

class EditFamily : public ControlAdapter {
 public:
  void Created(Native& n) const override {
    HWND hwnd = n.hwnd;
    static_cast<TextBox*>(n.control)->SetSelectionSource([hwnd] {
      DWORD start = 0, end = 0;
      if (IsWindow(hwnd)) SendMessageA(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      return TextSelection{static_cast<int>(start), static_cast<int>(end - start)};
    });
  }
  void Removed(ViewAccess&, Control& c) const override { static_cast<TextBox&>(c).SetSelectionSource(nullptr); }
  // The model's selection into the window, after its text.
  static void ApplySelection(Native& n, unsigned props) {
    if (!(props & prop::kSelection)) return;
    const TextSelection s = static_cast<const TextBox&>(*n.control).selectionSet();
    SendMessageA(n.hwnd, EM_SETSEL, static_cast<WPARAM>(s.start), static_cast<LPARAM>(s.start + s.length));
    SendMessageA(n.hwnd, EM_SCROLLCARET, 0, 0);
  }
  void Command(Native& n, int code) const override {
    if (code == EN_CHANGE) {
      user::TextChanged(*n.control, WindowText(n.hwnd));
    } else if (code == EN_SETFOCUS) {
      Focused(n);
    }
  }
};

class EditKind : public EditFamily {
 public:
  NativeClass Class(const Control& c, const Control*) const override {
    const auto& e = static_cast<const Edit&>(c);
    NativeClass n{"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    if (e.passwordChar() != '\0') n.style |= ES_PASSWORD;
    if (e.readOnly()) n.style |= ES_READONLY;
    return n;
  }
  void Apply(ViewAccess&, Native& n, unsigned props) const override {
    if (props & prop::kOptions) {
      const auto& e = static_cast<const Edit&>(*n.control);
      SendMessageA(n.hwnd, EM_LIMITTEXT, static_cast<WPARAM>(e.maxLength()), 0);
      SendMessageA(n.hwnd, EM_SETPASSWORDCHAR, static_cast<WPARAM>(static_cast<unsigned char>(e.passwordChar())), 0);
      SendMessageA(n.hwnd, EM_SETREADONLY, e.readOnly(), 0);
      InvalidateRect(n.hwnd, nullptr, TRUE);
    }
    if (props & prop::kText) ApplyText(n);
    ApplySelection(n, props);
  }
};

class MemoKind : public EditFamily {
 public:
  NativeClass Class(const Control& c, const Control*) const override {
    const auto& m = static_cast<const Memo&>(c);
    NativeClass n{"EDIT", WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE};
    if (m.wantReturns()) n.style |= ES_WANTRETURN;
    if (!m.wordWrap()) n.style |= ES_AUTOHSCROLL;
    if (m.readOnly()) n.style |= ES_READONLY;
    if (m.scrollBars() == ScrollBars::kVertical || m.scrollBars() == ScrollBars::kBoth) n.style |= WS_VSCROLL;
    if (m.scrollBars() == ScrollBars::kHorizontal || m.scrollBars() == ScrollBars::kBoth) n.style |= WS_HSCROLL;
    return n;
  }
  bool RecreateForOptions() const override { return true; }
  void Apply(ViewAccess&, Native& n, unsigned props) const override {
    if (props & prop::kOptions) {
      SendMessageA(n.hwnd, EM_LIMITTEXT, static_cast<WPARAM>(static_cast<const Memo&>(*n.control).maxLength()), 0);
    }
    if (props & prop::kText) ApplyText(n);
    ApplySelection(n, props);
  }
};

}  // namespace

const ControlAdapter& EditAdapter() { return The<EditKind>(); }
const ControlAdapter& MemoAdapter() { return The<MemoKind>(); }

}  // namespace wdx::forms::win32
