// The owner-drawn grid: a virtual report list view whose rows the model's draw handler paints
// cell by cell. The header shows the title row's texts and lets the user size the columns.
// Keys typed into the list and right clicks on its header go to the model first.
#include <string>

#include "forms/grid.h"
#include "forms/user.h"
#include "forms/win32/adapters.h"
#include "forms/win32/win32_canvas.h"

namespace wdx::forms::win32 {

namespace {

DrawGrid* GridOf(HWND w) { return static_cast<DrawGrid*>(SubclassedControl(w)); }

// Keys go to the model's handlers before the list sees them; characters never start the list's
// own search (the model searches as it likes).
LRESULT CALLBACK ListProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  DrawGrid* grid = GridOf(w);
  if (grid && msg == WM_CHAR) {
    if (grid->onKeyPress) user::KeyPress(*grid, static_cast<char>(wp));
    return 0;
  }
  if (grid && msg == WM_KEYDOWN && grid->onKeyDown) {
    const std::uint8_t vk = user::KeyDown(*grid, static_cast<std::uint8_t>(wp));
    if (vk == 0) return 0;
    wp = vk;
  }
  return CallOriginal(w, msg, wp, lp);
}

// A right click on the header is a click on the title row.
LRESULT CALLBACK HeaderProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  DrawGrid* grid = GridOf(w);
  if (grid && msg == WM_RBUTTONUP) {
    HDHITTESTINFO hit{};
    hit.pt = POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    const int col = static_cast<int>(SendMessageA(w, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (col >= 0) user::ClickCell(*grid, MouseButton::kRight, col, 0);
    return 0;
  }
  return CallOriginal(w, msg, wp, lp);
}

HWND HeaderOf(HWND list) { return reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)); }

class DrawGridKind : public ControlAdapter {
 public:
  NativeClass Class(const Control&, const Control*) const override {
    return {WC_LISTVIEWA,
            WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED | LVS_SINGLESEL |
                LVS_SHOWSELALWAYS,
            WS_EX_CLIENTEDGE, false};
  }

  void Created(Native& n) const override {
    SendMessageA(n.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    Subclass(n.hwnd, n.control, &ListProc);
    if (HWND header = HeaderOf(n.hwnd)) Subclass(header, n.control, &HeaderProc);
  }

  void Apply(ViewAccess& view, Native& n, unsigned props) const override {
    auto& grid = static_cast<DrawGrid&>(*n.control);
    if (props & prop::kOptions) {
      ApplyColumns(n.hwnd, grid);
      // The list asks for its row height again when its place changes.
      SetWindowPos(n.hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    if (props & (prop::kOptions | prop::kItems)) {
      ApplyTitles(view, n.hwnd, grid);
      SendMessageA(n.hwnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(grid.rowCount() - 1), LVSICF_NOSCROLL);
      InvalidateRect(n.hwnd, nullptr, TRUE);
    }
    if (props & (prop::kItems | prop::kSelection)) {
      LVITEMA item{};
      item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
      item.state = LVIS_SELECTED | LVIS_FOCUSED;
      SendMessageA(n.hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(grid.row() - 1), reinterpret_cast<LPARAM>(&item));
      SendMessageA(n.hwnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(grid.row() - 1), FALSE);
    }
  }

  bool ParentMessage(ViewAccess& view, Native& n, UINT msg, WPARAM, LPARAM lp, LRESULT* result) const override {
    auto& grid = static_cast<DrawGrid&>(*n.control);
    if (msg == WM_MEASUREITEM) {
      reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = static_cast<UINT>(grid.defaultRowHeight());
      *result = TRUE;
      return true;
    }
    if (msg == WM_DRAWITEM) {
      DrawRow(view, n.hwnd, grid, *reinterpret_cast<DRAWITEMSTRUCT*>(lp));
      *result = TRUE;
      return true;
    }
    return false;
  }

  LRESULT Notify(Native& n, const NMHDR& hdr) const override {
    auto& grid = static_cast<DrawGrid&>(*n.control);
    switch (hdr.code) {
      case LVN_ITEMCHANGED: {
        const auto& lv = reinterpret_cast<const NMLISTVIEW&>(hdr);
        if ((lv.uChanged & LVIF_STATE) && (lv.uNewState & LVIS_SELECTED) && !(lv.uOldState & LVIS_SELECTED)) {
          int item = lv.iItem;
          if (item < 0) item = static_cast<int>(SendMessageA(n.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
          if (item >= 0 && item + 1 != grid.row()) user::Select(grid, item + 1);
        }
        return 0;
      }
      case NM_DBLCLK:
        user::DoubleClick(grid);
        return 0;
      case NM_RCLICK: {
        if (hdr.hwndFrom != n.hwnd) return 0;
        LVHITTESTINFO hit{};
        DWORD pos = GetMessagePos();
        hit.pt = POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        ScreenToClient(n.hwnd, &hit.pt);
        SendMessageA(n.hwnd, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.iItem >= 0) user::ClickCell(grid, MouseButton::kRight, hit.iSubItem, hit.iItem + 1);
        return 0;
      }
      case NM_SETFOCUS:
        Focused(n);
        return 0;
      case LVN_GETDISPINFOA:
      case LVN_GETDISPINFOW:
        GiveText(grid, hdr);
        return 0;
      case LVN_ODFINDITEMA:
      case LVN_ODFINDITEMW:
        return -1;
      case HDN_ENDTRACKA:
      case HDN_ENDTRACKW: {
        const auto& h = reinterpret_cast<const NMHEADERA&>(hdr);
        if (h.pitem && (h.pitem->mask & HDI_WIDTH)) user::SizeColumn(grid, h.iItem, h.pitem->cxy);
        return 0;
      }
      default:
        return 0;
    }
  }

 private:
  static void ApplyColumns(HWND list, const DrawGrid& grid) {
    HWND header = HeaderOf(list);
    int have = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    while (have < grid.colCount()) {
      LVCOLUMNA col{};
      col.mask = LVCF_WIDTH | LVCF_TEXT;
      col.cx = grid.colWidth(have);
      char empty[] = "";
      col.pszText = empty;
      SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(have), reinterpret_cast<LPARAM>(&col));
      ++have;
    }
    while (have > grid.colCount()) SendMessageA(list, LVM_DELETECOLUMN, static_cast<WPARAM>(--have), 0);
    for (int c = 0; c < grid.colCount(); ++c) {
      if (SendMessageA(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0) != grid.colWidth(c)) {
        SendMessageA(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), grid.colWidth(c));
      }
    }
  }

  // The header shows what the title row's cells draw, in the font they draw it in.
  static void ApplyTitles(ViewAccess& view, HWND list, DrawGrid& grid) {
    bool fontSet = false;
    for (int c = 0; c < grid.colCount(); ++c) {
      RecordingCanvas canvas;
      grid.DrawCell(c, 0, {0, 0, grid.colWidth(c), grid.titleRowHeight()}, canvas);
      std::string text = canvas.AllText();
      LVCOLUMNA col{};
      col.mask = LVCF_TEXT;
      col.pszText = text.data();
      SendMessageA(list, LVM_SETCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&col));
      if (!fontSet && !canvas.texts.empty()) {
        if (HWND header = HeaderOf(list)) {
          SendMessageA(header, WM_SETFONT, reinterpret_cast<WPARAM>(view.FontFor(canvas.texts[0].font)), TRUE);
        }
        fontSet = true;
      }
    }
  }

  static void DrawRow(ViewAccess& view, HWND list, DrawGrid& grid, const DRAWITEMSTRUCT& d) {
    const int row = static_cast<int>(d.itemID) + 1;
    if (row < 1 || row >= grid.rowCount()) return;
    Win32Canvas canvas(d.hDC, [&view](const Font& f) { return view.FontFor(f); });
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
    HGDIOBJ oldPen = SelectObject(d.hDC, pen);
    int x = d.rcItem.left;
    for (int c = 0; c < grid.colCount(); ++c) {
      const int w = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0));
      const platform::Rect cell{x, d.rcItem.top, x + w - 1, d.rcItem.bottom - 1};
      grid.DrawCell(c, row, cell, canvas);
      // Lines between the cells, as a grid has them.
      MoveToEx(d.hDC, x + w - 1, d.rcItem.top, nullptr);
      LineTo(d.hDC, x + w - 1, d.rcItem.bottom - 1);
      LineTo(d.hDC, x - 1, d.rcItem.bottom - 1);
      x += w;
    }
    SelectObject(d.hDC, oldPen);
    DeleteObject(pen);
  }

  // What a cell shows, for whoever asks the list for its texts (screen readers, test drivers).
  static void GiveText(DrawGrid& grid, const NMHDR& hdr) {
    if (hdr.code == LVN_GETDISPINFOA) {
      auto& info = const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(hdr));
      if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return;
      const std::string text = CellText(grid, info.item.iSubItem, info.item.iItem + 1);
      lstrcpynA(info.item.pszText, text.c_str(), info.item.cchTextMax);
    } else {
      auto& info = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(hdr));
      if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return;
      const std::string text = CellText(grid, info.item.iSubItem, info.item.iItem + 1);
      MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, info.item.pszText, info.item.cchTextMax);
      info.item.pszText[info.item.cchTextMax - 1] = L'\0';
    }
  }
};

}  // namespace

const ControlAdapter& DrawGridAdapter() { return The<DrawGridKind>(); }

}  // namespace wdx::forms::win32
