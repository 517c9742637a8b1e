// Page controls (the common tab control) and their pages, which have no window: a page is the
// group of controls that show while its tab is chosen.

#include "forms/controls.h"
#include "forms/user.h"
#include "forms/win32/adapters.h"

namespace wdx::forms::win32 {

namespace {

class PageControlKind : public ControlAdapter {
 public:
  NativeClass Class(const Control&, const Control*) const override {
    return {WC_TABCONTROLA, WS_TABSTOP | WS_CLIPSIBLINGS, 0, false};
  }
  void Apply(ViewAccess&, Native& n, unsigned props) const override {
    const auto& pages = static_cast<const PageControl&>(*n.control);
    if (props & prop::kItems) {
      SendMessageA(n.hwnd, TCM_DELETEALLITEMS, 0, 0);
      int i = 0;
      for (TabSheet* page : pages.pages()) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        std::string caption = page->caption();
        item.pszText = caption.data();
        SendMessageA(n.hwnd, TCM_INSERTITEMA, static_cast<WPARAM>(i++), reinterpret_cast<LPARAM>(&item));
      }
    }
    if (props & (prop::kItems | prop::kSelection)) {
      SendMessageA(n.hwnd, TCM_SETCURSEL, static_cast<WPARAM>(pages.activePageIndex()), 0);
    }
  }
  LRESULT Notify(Native& n, const NMHDR& hdr) const override {
    if (hdr.code == TCN_SELCHANGE) {
      user::Select(*n.control, static_cast<int>(SendMessageA(n.hwnd, TCM_GETCURSEL, 0, 0)));
    } else if (hdr.code == NM_SETFOCUS) {
      Focused(n);
    }
    return 0;
  }
};

// A page's caption is its tab's text; a page that goes takes its tab along.
class TabSheetKind : public ControlAdapter {
 public:
  NativeClass Class(const Control&, const Control*) const override { return {}; }
  void Apply(ViewAccess& view, Native& n, unsigned props) const override {
    if (props & prop::kText) TabsChanged(view, *n.control);
  }
  void Removed(ViewAccess& view, Control& c) const override { TabsChanged(view, c); }

 private:
  static void TabsChanged(ViewAccess& view, Control& page) {
    if (page.parent() && view.Find(page.parent())) view.Changed(*page.parent(), prop::kItems | prop::kSelection);
  }
};

}  // namespace

const ControlAdapter& PageControlAdapter() { return The<PageControlKind>(); }
const ControlAdapter& TabSheetAdapter() { return The<TabSheetKind>(); }

}  // namespace wdx::forms::win32
