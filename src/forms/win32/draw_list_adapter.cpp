// The owner-drawn list: a list box of fixed-height rows that the model's draw handler paints.
#include "forms/draw_list.h"
#include "forms/form.h"
#include "forms/user.h"
#include "forms/win32/adapters.h"
#include "forms/win32/win32_canvas.h"

namespace wdx::forms::win32 {

namespace {

// The row under a point of the list's client area, or -1.
int RowAt(HWND w, LPARAM lp) {
  const LRESULT r = SendMessageA(w, LB_ITEMFROMPOINT, 0, lp);
  if (HIWORD(r) != 0) return -1;  // outside every row
  return static_cast<int>(LOWORD(r));
}

// The right button: pressed and released over the same row, that row goes to the model. The
// list box itself knows only the left button.
LRESULT CALLBACK DrawListProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  static HWND pressedIn = nullptr;
  static int pressedRow = -1;
  if (msg == WM_RBUTTONDOWN) {
    pressedIn = w;
    pressedRow = RowAt(w, lp);
    return 0;
  }
  if (msg == WM_RBUTTONUP) {
    const int row = RowAt(w, lp);
    const bool same = pressedIn == w && pressedRow >= 0 && row == pressedRow;
    pressedIn = nullptr;
    pressedRow = -1;
    if (same) {
      if (Control* c = SubclassedControl(w)) user::RightClickRow(static_cast<DrawListBox&>(*c), row);
    }
    return 0;
  }
  return CallOriginal(w, msg, wp, lp);
}

class DrawListBoxKind : public ControlAdapter {
 public:
  NativeClass Class(const Control&, const Control*) const override {
    return {"LISTBOX",
            WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
            WS_EX_CLIENTEDGE, false};
  }
  void Apply(ViewAccess&, Native& n, unsigned props) const override {
    const auto& l = static_cast<const DrawListBox&>(*n.control);
    // The first row height is asked for while the window is made, before the view knows it.
    if (props & prop::kOptions) SendMessageA(n.hwnd, LB_SETITEMHEIGHT, 0, l.itemHeight());
    if (props & prop::kItems) {
      SendMessageA(n.hwnd, LB_RESETCONTENT, 0, 0);
      for (const std::string& s : l.items()) SendMessageA(n.hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    }
    if (props & (prop::kItems | prop::kSelection)) SendMessageA(n.hwnd, LB_SETCURSEL, static_cast<WPARAM>(l.itemIndex()), 0);
    if (props & prop::kItems) InvalidateRect(n.hwnd, nullptr, TRUE);
  }
  void Created(Native& n) const override {
    SendMessageA(n.hwnd, LB_SETITEMHEIGHT, 0, static_cast<const DrawListBox&>(*n.control).itemHeight());
    Subclass(n.hwnd, n.control, &DrawListProc);
  }
  void Command(Native& n, int code) const override {
    if (code == LBN_SELCHANGE) {
      const int index = static_cast<int>(SendMessageA(n.hwnd, LB_GETCURSEL, 0, 0));
      if (index >= 0) user::Select(*n.control, index);
    } else if (code == LBN_DBLCLK) {
      user::DoubleClick(*n.control);
    } else if (code == LBN_SETFOCUS) {
      Focused(n);
    }
  }
  bool ParentMessage(ViewAccess& view, Native& n, UINT msg, WPARAM, LPARAM lp, LRESULT* result) const override {
    auto& list = static_cast<DrawListBox&>(*n.control);
    if (msg == WM_MEASUREITEM) {
      reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = static_cast<UINT>(list.itemHeight());
      *result = TRUE;
      return true;
    }
    if (msg != WM_DRAWITEM) return false;
    const auto& d = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (static_cast<int>(d.itemID) >= 0) {
      Win32Canvas canvas(d.hDC, [&view](const Font& f) { return view.FontFor(f); });
      list.DrawItem(static_cast<int>(d.itemID),
                    {d.rcItem.left, d.rcItem.top, d.rcItem.right, d.rcItem.bottom}, canvas);
    }
    *result = TRUE;
    return true;
  }
};

}  // namespace

const ControlAdapter& DrawListBoxAdapter() { return The<DrawListBoxKind>(); }

}  // namespace wdx::forms::win32
