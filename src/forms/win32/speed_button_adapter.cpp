// Speed buttons: owner-drawn flat buttons with one of the system's standard toolbar pictures,
// and a tooltip that shows the hint.
#include "forms/controls.h"
#include "forms/user.h"
#include "forms/win32/adapters.h"
#include "forms/win32/comctl.h"
#include "forms/win32/win32_canvas.h"

namespace wdx::forms::win32 {

namespace {

constexpr char kTipProp[] = "WdxTip";

// The standard small pictures, loaded once through a toolbar (the documented way to get them).
HIMAGELIST StandardPictures(HWND parent) {
  static HIMAGELIST pictures = nullptr;
  if (pictures) return pictures;
  HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD, 0, 0, 0, 0, parent, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  if (!bar) return nullptr;
  SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(bar, TB_LOADIMAGES, IDB_STD_SMALL_COLOR, reinterpret_cast<LPARAM>(HINST_COMMCTRL));
  auto list = reinterpret_cast<HIMAGELIST>(SendMessageA(bar, TB_GETIMAGELIST, 0, 0));
  if (list) pictures = comctl::Duplicate(list);
  DestroyWindow(bar);
  return pictures;
}

void SetTip(HWND button, const std::string& hint) {
  auto tip = static_cast<HWND>(GetPropA(button, kTipProp));
  if (!tip) {
    tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetParent(button), nullptr,
                          GetModuleHandleA(nullptr), nullptr);
    if (!tip) return;
    SetPropA(button, kTipProp, tip);
    TOOLINFOA info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(button);
    info.uId = reinterpret_cast<UINT_PTR>(button);
    info.lpszText = const_cast<char*>(hint.c_str());
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    return;
  }
  TOOLINFOA info{};
  info.cbSize = sizeof(info);
  info.hwnd = GetParent(button);
  info.uId = reinterpret_cast<UINT_PTR>(button);
  info.lpszText = const_cast<char*>(hint.c_str());
  SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

// The right mouse button's click goes to the model; the button itself knows only the left one.
LRESULT CALLBACK SpeedButtonProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_RBUTTONUP) {
    if (Control* c = SubclassedControl(w)) user::RightClick(static_cast<SpeedButton&>(*c));
    return 0;
  }
  return CallOriginal(w, msg, wp, lp);
}

class SpeedButtonKind : public ControlAdapter {
 public:
  void Created(Native& n) const override { Subclass(n.hwnd, n.control, &SpeedButtonProc); }
  NativeClass Class(const Control&, const Control*) const override { return {"BUTTON", BS_OWNERDRAW, 0, false}; }
  void Apply(ViewAccess&, Native& n, unsigned props) const override {
    if (props & prop::kOptions) {
      SetTip(n.hwnd, static_cast<const SpeedButton&>(*n.control).hint());
      // The picture may have changed.
      InvalidateRect(n.hwnd, nullptr, TRUE);
    }
  }
  void Command(Native& n, int code) const override {
    if (code == BN_CLICKED) user::Click(*n.control);
  }
  bool ParentMessage(ViewAccess& view, Native& n, UINT msg, WPARAM, LPARAM lp, LRESULT* result) const override {
    if (msg != WM_DRAWITEM) return false;
    const auto& d = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    RECT r = d.rcItem;
    const bool pushed = (d.itemState & ODS_SELECTED) != 0;
    const bool disabled = (d.itemState & ODS_DISABLED) != 0;
    FillRect(d.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(d.hDC, &r, pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    const auto& button = static_cast<const SpeedButton&>(*n.control);
    if (button.picture().kind != Picture::Kind::kNone) {
      const int size = button.pictureSize();
      const int x = r.left + (r.right - r.left - size) / 2 + (pushed ? 1 : 0);
      const int y = r.top + (r.bottom - r.top - size) / 2 + (pushed ? 1 : 0);
      Win32Canvas canvas(d.hDC, [&view](const Font& f) { return view.FontFor(f); });
      canvas.Draw({x, y, x + size, y + size}, button.picture());
    } else if (HIMAGELIST pictures = StandardPictures(GetParent(n.hwnd))) {
      int cx = 16;
      int cy = 16;
      comctl::IconSize(pictures, &cx, &cy);
      const int x = r.left + (r.right - r.left - cx) / 2 + (pushed ? 1 : 0);
      const int y = r.top + (r.bottom - r.top - cy) / 2 + (pushed ? 1 : 0);
      const int index = static_cast<int>(static_cast<const SpeedButton&>(*n.control).glyph());
      if (disabled) {
        HICON icon = comctl::Icon(pictures, index, ILD_NORMAL);
        DrawStateA(d.hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, cx, cy, DST_ICON | DSS_DISABLED);
        DestroyIcon(icon);
      } else {
        comctl::Draw(pictures, index, d.hDC, x, y, ILD_TRANSPARENT);
      }
    }
    *result = TRUE;
    return true;
  }
};

}  // namespace

const ControlAdapter& SpeedButtonAdapter() { return The<SpeedButtonKind>(); }

}  // namespace wdx::forms::win32
