#include "forms/win32/win32_runner.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "forms/controls.h"
#include "forms/user.h"

namespace wdx::forms {

namespace {

constexpr char kFormClass[] = "WdxForm";
constexpr int kFirstControlId = 100;
// Menu item ids come after every control id a form can have.
constexpr UINT kFirstMenuId = 0xA000;
// Room for the drop-down list below a combo box's field.
constexpr int kComboListHeight = 200;

// The forms of this thread's runner, for the message hook of forms shown without waiting.
thread_local Win32Runner* tlsRunner = nullptr;

HWND ToHwnd(platform::WindowHandle h) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(h)); }
platform::WindowHandle FromHwnd(HWND h) {
  return static_cast<platform::WindowHandle>(reinterpret_cast<std::uintptr_t>(h));
}

COLORREF Resolve(Color c) {
  if (c & kSystemColorFlag) return GetSysColor(static_cast<int>(c & 0xFF));
  return static_cast<COLORREF>(c);
}

std::string WindowText(HWND w) {
  int n = GetWindowTextLengthA(w);
  std::string s(static_cast<std::size_t>(std::max(n, 0)) + 1, '\0');
  int got = GetWindowTextA(w, s.data(), n + 1);
  s.resize(static_cast<std::size_t>(std::max(got, 0)));
  return s;
}

void Styles(const Form& form, DWORD* style, DWORD* exStyle) {
  DWORD s = WS_POPUP;
  DWORD ex = 0;
  switch (form.borderStyle()) {
    case BorderStyle::kDialog:
      s |= WS_CAPTION | WS_SYSMENU;
      ex |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case BorderStyle::kSingle:
      s |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
      ex |= WS_EX_WINDOWEDGE;
      break;
    case BorderStyle::kSizeable:
      s |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
      ex |= WS_EX_WINDOWEDGE;
      break;
    case BorderStyle::kToolWindow:
      s |= WS_CAPTION | WS_SYSMENU;
      ex |= WS_EX_TOOLWINDOW;
      break;
    case BorderStyle::kSizeToolWindow:
      s |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
      ex |= WS_EX_TOOLWINDOW;
      break;
    case BorderStyle::kNone:
      break;
  }
  if (form.toolWindow()) ex |= WS_EX_TOOLWINDOW;
  if (form.stayOnTop()) ex |= WS_EX_TOPMOST;
  *style = s;
  *exStyle = ex;
}

FrameExtent MeasureFrame(DWORD style, DWORD exStyle, bool menuBar) {
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, style, menuBar ? TRUE : FALSE, exStyle);
  return {static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top)};
}

bool EnabledChain(const Control& c) {
  for (const Control* p = &c; p; p = p->parent()) {
    if (!p->enabled()) return false;
  }
  return true;
}

int Depth(const Control& c) {
  int d = 0;
  for (const Control* p = c.parent(); p; p = p->parent()) ++d;
  return d;
}

void RegisterFormClass() {
  static bool done = false;
  if (done) return;
  done = true;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
}

}  // namespace

// --- Menus: native menus built from the model's item tree. Items are known by their path
// (indexes from the root), never by pointer, since the program may rebuild the tree.

using MenuPath = std::vector<int>;

const MenuItem* Resolve(const MenuItem* root, const MenuPath& path) {
  const MenuItem* item = root;
  for (int i : path) {
    if (!item || i < 0 || i >= static_cast<int>(item->items.size())) return nullptr;
    item = &item->items[static_cast<std::size_t>(i)];
  }
  return item;
}

class MenuIds {
 public:
  UINT IdFor(const MenuPath& path) {
    auto it = ids_.find(path);
    if (it != ids_.end()) return it->second;
    const UINT id = kFirstMenuId + static_cast<UINT>(paths_.size());
    ids_[path] = id;
    paths_.push_back(path);
    return id;
  }
  const MenuPath* PathOf(UINT id) const {
    if (id < kFirstMenuId || id - kFirstMenuId >= paths_.size()) return nullptr;
    return &paths_[id - kFirstMenuId];
  }
  // Appends the items of `menu` (at `path`) to `h`; submenus are filled too and remembered.
  void Fill(HMENU h, const MenuItem& menu, const MenuPath& path) {
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
      const MenuItem& item = menu.items[i];
      if (!item.visible) continue;
      MenuPath sub = path;
      sub.push_back(static_cast<int>(i));
      if (item.IsSeparator()) {
        AppendMenuA(h, MF_SEPARATOR, 0, nullptr);
        continue;
      }
      UINT flags = MF_STRING | (item.enabled ? 0u : MF_GRAYED) | (item.checked ? MF_CHECKED : 0u);
      if (!item.items.empty()) {
        HMENU child = CreatePopupMenu();
        Fill(child, item, sub);
        submenus_[child] = sub;
        AppendMenuA(h, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(child), item.caption.c_str());
      } else {
        AppendMenuA(h, flags, IdFor(sub), item.caption.c_str());
      }
    }
  }
  // Fills a submenu afresh from the model as it opens.
  bool Refresh(HMENU h, const MenuItem* root) {
    auto it = submenus_.find(h);
    if (it == submenus_.end()) return false;
    const MenuPath path = it->second;
    const MenuItem* menu = Resolve(root, path);
    if (!menu) return false;
    while (GetMenuItemCount(h) > 0) DeleteMenu(h, 0, MF_BYPOSITION);
    Fill(h, *menu, path);
    return true;
  }
  void ForgetSubmenus() { submenus_.clear(); }

 private:
  std::map<MenuPath, UINT> ids_;
  std::vector<MenuPath> paths_;
  std::map<HMENU, MenuPath> submenus_;
};

// --- Fonts: one GDI font per distinct font of the model, kept for the runner's life.

class Win32Runner::Fonts {
 public:
  ~Fonts() {
    for (auto& [key, font] : fonts_) DeleteObject(font);
  }
  HFONT Get(const Font& f) {
    auto key = std::make_tuple(f.name, f.height, f.bold, f.italic, f.underline);
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    HFONT font = CreateFontA(-f.height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, f.italic, f.underline, FALSE,
                             ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, f.name.c_str());
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fonts_[key] = font;
    return font;
  }

 private:
  std::map<std::tuple<std::string, int, bool, bool, bool>, HFONT> fonts_;
};

// --- The view of one form

class Win32Runner::View : public FormView {
 public:
  View(Win32Runner& runner, Form& form) : runner_(runner), form_(form) {}

  ~View() override {
    detached_ = true;
    if (hwnd_) {
      HWND w = hwnd_;
      hwnd_ = nullptr;
      DestroyWindow(w);
    }
  }

  HWND hwnd() const { return hwnd_; }
  Form& form() const { return form_; }
  bool modal() const { return modal_; }
  void SetModal(bool v) { modal_ = v; }

  bool Create() {
    RegisterFormClass();
    static bool registered = false;
    if (!registered) {
      WNDCLASSEXA wc{};
      wc.cbSize = sizeof(wc);
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = &View::WndProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      wc.lpszClassName = kFormClass;
      if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
      registered = true;
    }
    DWORD style = 0, exStyle = 0;
    Styles(form_, &style, &exStyle);
    // The real frame, so that the client size the dialog asked for is what it gets.
    form_.SetFrameExtent(MeasureFrame(style, exStyle, form_.mainMenu() != nullptr));
    HWND owner = ToHwnd(form_.owner());
    if (owner && !IsWindow(owner)) owner = nullptr;
    hwnd_ = CreateWindowExA(exStyle, kFormClass, form_.caption().c_str(), style, form_.left(), form_.top(),
                            form_.width(), form_.height(), owner, nullptr, GetModuleHandleA(nullptr), this);
    if (!hwnd_) return false;
    BuildMenuBar();
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(runner_.fonts_->Get(form_.font())), FALSE);
    for (Control* c : form_.controls()) CreateNative(*c, nullptr);
    ArrangeContainers();
    RefreshStates();
    return true;
  }

  void ShowNative(bool activate) {
    if (form_.stayOnTop()) SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(hwnd_, activate ? SW_SHOW : SW_SHOWNOACTIVATE);
    if (activate) {
      SetForegroundWindow(hwnd_);
      BringWindowToTop(hwnd_);
      SetActiveWindow(hwnd_);
    }
    StartTimers();
  }

  void HideNative() {
    StopTimers();
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
  }

  void SequenceDone(bool done) { sequenceDone_ = done; }

  // Key preview and dialog keys for one message; true when handled.
  bool PreTranslate(MSG& msg) {
    if (!hwnd_ || !form_.AcceptsInput()) return false;
    if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
    if (form_.keyPreview()) {
      if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        std::uint8_t vk = user::KeyDown(form_, static_cast<std::uint8_t>(msg.wParam));
        if (vk == 0) return true;
        msg.wParam = vk;
      } else if (msg.message == WM_CHAR) {
        char ch = user::KeyPress(form_, static_cast<char>(msg.wParam));
        if (ch == '\0') return true;
        msg.wParam = static_cast<unsigned char>(ch);
      }
      if (!form_.AcceptsInput()) return true;
    }
    return IsDialogMessageA(hwnd_, &msg) != FALSE;
  }

  // --- FormView

  platform::WindowHandle Handle() const override { return FromHwnd(hwnd_); }

  void FormChanged(unsigned props) override {
    if (!hwnd_) return;
    if (props & prop::kText) SetWindowTextA(hwnd_, form_.caption().c_str());
    if (props & prop::kOptions) {
      DWORD style = 0, exStyle = 0;
      Styles(form_, &style, &exStyle);
      const bool visible = IsWindowVisible(hwnd_) != FALSE;
      SetWindowLongA(hwnd_, GWL_STYLE, static_cast<LONG>(style | (visible ? WS_VISIBLE : 0)));
      SetWindowLongA(hwnd_, GWL_EXSTYLE, static_cast<LONG>(exStyle & ~static_cast<DWORD>(WS_EX_TOPMOST)));
      SetWindowPos(hwnd_, form_.stayOnTop() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      form_.SetFrameExtent(MeasureFrame(style, exStyle, form_.mainMenu() != nullptr));
    }
    if (props & prop::kBounds) {
      Pushing guard(*this);
      SetWindowPos(hwnd_, nullptr, form_.left(), form_.top(), form_.width(), form_.height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (props & prop::kFont) ApplyFonts();
    if (props & prop::kItems) {
      BuildMenuBar();
      DWORD style = 0, exStyle = 0;
      Styles(form_, &style, &exStyle);
      form_.SetFrameExtent(MeasureFrame(style, exStyle, form_.mainMenu() != nullptr));
    }
  }

  void ControlChanged(Control& c, unsigned props) override {
    if (!Find(&c)) return;
    Push(c, props);
    if (props & (prop::kVisible | prop::kEnabled | prop::kItems | prop::kSelection)) RefreshStates();
  }

  void ControlRemoved(Control& c) override {
    auto it = std::find_if(natives_.begin(), natives_.end(), [&](const Native& n) { return n.control == &c; });
    if (it == natives_.end()) return;
    HWND w = it->hwnd;
    natives_.erase(it);
    if (w) DestroyWindow(w);
    // A page went: its tab goes with it (the control is half destroyed; only its parent is used).
    if (c.kind() == ControlKind::kTabSheet && c.parent()) {
      if (Native* pages = Find(c.parent())) {
        ApplyItems(*pages);
        ApplySelection(*pages);
        RefreshStates();
      }
    }
  }

  void FocusChanged(Control* c) override {
    if (!hwnd_ || !c || GetActiveWindow() != hwnd_) return;
    Native* n = Find(c);
    if (!n || !n->hwnd) return;
    HWND focus = GetFocus();
    if (focus == n->hwnd || IsChild(n->hwnd, focus)) return;
    SetFocus(n->hwnd);
  }

  void TimerChanged(Timer& t) override {
    if (!hwnd_ || !form_.Showing()) return;
    if (t.Running()) {
      SetTimer(hwnd_, t.id(), t.interval(), nullptr);
    } else {
      KillTimer(hwnd_, t.id());
    }
  }

  void Hide() override {
    HideNative();
    sequenceDone_ = false;
  }

  void FormDestroyed() override {
    form_.DetachView();
    runner_.views_.erase(&form_);  // deletes this view; nothing of it is touched afterwards
  }

 private:
  // Model changes pushed into the native controls come back as notifications; they are not
  // the user's doing and are ignored while this is alive.
  class Pushing {
   public:
    explicit Pushing(View& v) : v_(v), was_(v.pushing_) { v_.pushing_ = true; }
    ~Pushing() { v_.pushing_ = was_; }
    Pushing(const Pushing&) = delete;
    Pushing& operator=(const Pushing&) = delete;

   private:
    View& v_;
    bool was_;
  };

  struct Native {
    Control* control;
    HWND hwnd;  // nullptr for tab sheets, which are only a grouping of controls
    int id;
    bool shown = false;
    bool enabled = true;
  };

  Native* Find(const Control* c) {
    for (Native& n : natives_) {
      if (n.control == c) return &n;
    }
    return nullptr;
  }
  Native* FindId(int id) {
    for (Native& n : natives_) {
      if (n.id == id) return &n;
    }
    return nullptr;
  }
  Native* FindHwnd(HWND w) {
    if (!w) return nullptr;
    for (Native& n : natives_) {
      if (n.hwnd == w) return &n;
    }
    return nullptr;
  }

  // Position in the form's client area: controls sit in their containers.
  RECT Place(const Control& c) const {
    int x = c.left();
    int y = c.top();
    for (const Control* p = c.parent(); p; p = p->parent()) {
      x += p->left();
      y += p->top();
    }
    int h = c.height();
    if (c.kind() == ControlKind::kComboBox) h += kComboListHeight;
    return RECT{x, y, x + c.width(), y + h};
  }

  // Creates the native control of c. `after` is the window it follows in the Z (tab) order, or
  // nullptr to add it at the end.
  void CreateNative(Control& c, HWND after) {
    const int id = nextId_++;
    DWORD style = WS_CHILD;
    DWORD ex = 0;
    const char* cls = nullptr;
    std::string text = c.text();
    switch (c.kind()) {
      case ControlKind::kLabel: {
        const auto& l = static_cast<const Label&>(c);
        cls = "STATIC";
        style |= SS_NOTIFY;
        if (l.alignment() == Alignment::kCenter) {
          style |= SS_CENTER;
        } else if (l.alignment() == Alignment::kRight) {
          style |= SS_RIGHT;
        } else {
          style |= l.wordWrap() ? SS_LEFT : SS_LEFTNOWORDWRAP;
        }
        break;
      }
      case ControlKind::kButton:
        cls = "BUTTON";
        style |= WS_TABSTOP | BS_NOTIFY |
                 (static_cast<const Button&>(c).isDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        break;
      case ControlKind::kEdit: {
        const auto& e = static_cast<const Edit&>(c);
        cls = "EDIT";
        ex |= WS_EX_CLIENTEDGE;
        style |= WS_TABSTOP | ES_AUTOHSCROLL;
        if (e.passwordChar() != '\0') style |= ES_PASSWORD;
        if (e.readOnly()) style |= ES_READONLY;
        break;
      }
      case ControlKind::kMemo: {
        const auto& m = static_cast<const Memo&>(c);
        cls = "EDIT";
        ex |= WS_EX_CLIENTEDGE;
        style |= WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL;
        if (m.wantReturns()) style |= ES_WANTRETURN;
        if (!m.wordWrap()) style |= ES_AUTOHSCROLL;
        if (m.readOnly()) style |= ES_READONLY;
        if (m.scrollBars() == ScrollBars::kVertical || m.scrollBars() == ScrollBars::kBoth) style |= WS_VSCROLL;
        if (m.scrollBars() == ScrollBars::kHorizontal || m.scrollBars() == ScrollBars::kBoth) style |= WS_HSCROLL;
        break;
      }
      case ControlKind::kCheckBox:
        cls = "BUTTON";
        style |= WS_TABSTOP | BS_CHECKBOX | BS_NOTIFY;
        break;
      case ControlKind::kRadioButton:
        cls = "BUTTON";
        style |= BS_RADIOBUTTON | BS_NOTIFY;
        break;
      case ControlKind::kListBox: {
        const auto& l = static_cast<const ListBox&>(c);
        cls = "LISTBOX";
        ex |= WS_EX_CLIENTEDGE;
        style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
        if (l.multiSelect()) style |= LBS_EXTENDEDSEL;
        text.clear();
        break;
      }
      case ControlKind::kComboBox: {
        const auto& cb = static_cast<const ComboBox&>(c);
        cls = "COMBOBOX";
        style |= WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL |
                 (cb.style() == ComboStyle::kDropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
        text.clear();
        break;
      }
      case ControlKind::kGroupBox:
        cls = "BUTTON";
        style |= BS_GROUPBOX | WS_CLIPSIBLINGS;
        break;
      case ControlKind::kPanel:
        cls = "STATIC";
        style |= WS_CLIPSIBLINGS;
        if (static_cast<const Panel&>(c).bevel()) {
          style |= SS_ETCHEDFRAME;
          text.clear();
        } else {
          style |= SS_CENTER | SS_CENTERIMAGE;
        }
        break;
      case ControlKind::kPageControl:
        cls = WC_TABCONTROLA;
        style |= WS_TABSTOP | WS_CLIPSIBLINGS;
        text.clear();
        break;
      case ControlKind::kTabSheet:
        break;
      case ControlKind::kSpinButton:
        cls = UPDOWN_CLASSA;
        style |= UDS_ARROWKEYS;
        text.clear();
        break;
    }
    Native n{&c, nullptr, id};
    if (cls) {
      // Radio buttons of one parent form one group: arrows move inside it, Tab enters it once.
      Native* prev = natives_.empty() ? nullptr : &natives_.back();
      const bool continuesGroup = c.kind() == ControlKind::kRadioButton && prev && prev->control &&
                                  prev->control->kind() == ControlKind::kRadioButton &&
                                  prev->control->parent() == c.parent();
      if (!continuesGroup) style |= WS_GROUP;
      if (c.kind() == ControlKind::kRadioButton && !continuesGroup) style |= WS_TABSTOP;
      RECT r = Place(c);
      n.hwnd = CreateWindowExA(ex, cls, text.c_str(), style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                               hwnd_, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)),
                               GetModuleHandleA(nullptr), nullptr);
      if (n.hwnd && after) SetWindowPos(n.hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    natives_.push_back(n);
    Native& added = natives_.back();
    if (!added.hwnd) return;
    SendMessageA(added.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(runner_.fonts_->Get(c.font())), FALSE);
    Pushing guard(*this);
    ApplyOptions(added);
    ApplyChecked(added);
    ApplyItems(added);
    ApplySelection(added);
    if (c.kind() == ControlKind::kSpinButton) {
      SendMessageA(added.hwnd, UDM_SETRANGE32, 0, 100);
      SendMessageA(added.hwnd, UDM_SETPOS32, 0, 50);
    }
  }

  void BuildMenuBar() {
    HMENU old = GetMenu(hwnd_);
    menus_.ForgetSubmenus();
    HMENU bar = nullptr;
    if (form_.mainMenu()) {
      bar = CreateMenu();
      menus_.Fill(bar, *form_.mainMenu(), {});
    }
    SetMenu(hwnd_, bar);
    if (old) DestroyMenu(old);
    DrawMenuBar(hwnd_);
  }

  void Push(Control& c, unsigned props) {
    Pushing guard(*this);
    Native* n = Find(&c);
    if ((props & prop::kOptions) && n) {
      if (NeedsRecreate(c)) {
        Recreate(*n);
        n = Find(&c);
      } else {
        ApplyOptions(*n);
      }
    }
    if (!n) return;
    if (props & prop::kBounds) PlaceTree(c);
    if (props & prop::kText) ApplyText(*n);
    if (props & prop::kFont) ApplyFonts();
    if (props & prop::kChecked) ApplyChecked(*n);
    if (props & prop::kItems) ApplyItems(*n);
    if (props & (prop::kItems | prop::kSelection)) ApplySelection(*n);
  }

  // Containers go below the controls they hold (outermost lowest) and clip what lies above
  // them, so a frame or the tab control never paints over its contents.
  void ArrangeContainers() {
    std::vector<Native*> containers;
    for (Native& n : natives_) {
      if (n.hwnd && n.control->IsContainer()) containers.push_back(&n);
    }
    std::stable_sort(containers.begin(), containers.end(),
                     [](const Native* a, const Native* b) { return Depth(*a->control) > Depth(*b->control); });
    for (Native* n : containers) {
      SetWindowPos(n->hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }

  static bool NeedsRecreate(const Control& c) {
    switch (c.kind()) {
      case ControlKind::kLabel:
      case ControlKind::kMemo:
      case ControlKind::kListBox:
      case ControlKind::kComboBox:
      case ControlKind::kPanel:
        return true;
      default:
        return false;
    }
  }

  // Styles Windows fixes at creation: a new native control in the same place of the order.
  void Recreate(Native& n) {
    Control* c = n.control;
    HWND old = n.hwnd;
    if (!old) return;
    const bool hadFocus = GetFocus() == old || IsChild(old, GetFocus());
    HWND prev = GetWindow(old, GW_HWNDPREV);
    auto at = std::find_if(natives_.begin(), natives_.end(), [&](const Native& x) { return x.control == c; });
    const std::size_t index = static_cast<std::size_t>(at - natives_.begin());
    std::vector<Native> tail(natives_.begin() + static_cast<std::ptrdiff_t>(index) + 1, natives_.end());
    natives_.erase(natives_.begin() + static_cast<std::ptrdiff_t>(index), natives_.end());
    CreateNative(*c, prev ? prev : HWND_TOP);
    natives_.insert(natives_.end(), tail.begin(), tail.end());
    DestroyWindow(old);
    RefreshStates();
    if (Native* fresh = Find(c); fresh && fresh->hwnd && hadFocus) SetFocus(fresh->hwnd);
  }

  void PlaceTree(const Control& c) {
    for (Native& n : natives_) {
      if (!n.hwnd) continue;
      bool inside = false;
      for (const Control* p = n.control; p; p = p->parent()) inside = inside || p == &c;
      if (!inside) continue;
      RECT r = Place(*n.control);
      SetWindowPos(n.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }

  void RefreshStates() {
    for (Native& n : natives_) {
      if (!n.hwnd) continue;
      const bool shown = n.control->Showing();
      const bool enabled = EnabledChain(*n.control);
      if (enabled != n.enabled || !n.shown) {
        EnableWindow(n.hwnd, enabled);
        n.enabled = enabled;
      }
      if (shown != n.shown || (shown && !IsWindowVisible(n.hwnd) && IsWindowVisible(hwnd_))) {
        ShowWindow(n.hwnd, shown ? SW_SHOWNA : SW_HIDE);
        n.shown = shown;
      }
    }
  }

  void ApplyFonts() {
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(runner_.fonts_->Get(form_.font())), FALSE);
    for (Native& n : natives_) {
      if (!n.hwnd) continue;
      SendMessageA(n.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(runner_.fonts_->Get(n.control->font())), TRUE);
    }
  }

  void ApplyText(Native& n) {
    Control& c = *n.control;
    switch (c.kind()) {
      case ControlKind::kListBox:
      case ControlKind::kPageControl:
      case ControlKind::kSpinButton:
        return;
      case ControlKind::kTabSheet:
        if (Native* pages = Find(c.parent())) ApplyItems(*pages);
        return;
      case ControlKind::kComboBox:
        if (static_cast<ComboBox&>(c).style() == ComboStyle::kDropDownList) return;
        break;
      case ControlKind::kPanel:
        if (static_cast<Panel&>(c).bevel()) return;
        break;
      default:
        break;
    }
    if (n.hwnd && WindowText(n.hwnd) != c.text()) SetWindowTextA(n.hwnd, c.text().c_str());
  }

  void ApplyOptions(Native& n) {
    Control& c = *n.control;
    switch (c.kind()) {
      case ControlKind::kButton:
        SendMessageA(n.hwnd, BM_SETSTYLE,
                     static_cast<WPARAM>(BS_NOTIFY | (static_cast<Button&>(c).isDefault() ? BS_DEFPUSHBUTTON
                                                                                           : BS_PUSHBUTTON)),
                     TRUE);
        break;
      case ControlKind::kEdit: {
        auto& e = static_cast<Edit&>(c);
        SendMessageA(n.hwnd, EM_LIMITTEXT, static_cast<WPARAM>(e.maxLength()), 0);
        SendMessageA(n.hwnd, EM_SETPASSWORDCHAR, static_cast<WPARAM>(static_cast<unsigned char>(e.passwordChar())), 0);
        SendMessageA(n.hwnd, EM_SETREADONLY, e.readOnly(), 0);
        InvalidateRect(n.hwnd, nullptr, TRUE);
        break;
      }
      case ControlKind::kMemo:
        SendMessageA(n.hwnd, EM_LIMITTEXT, static_cast<WPARAM>(static_cast<Memo&>(c).maxLength()), 0);
        break;
      case ControlKind::kComboBox:
        if (static_cast<ComboBox&>(c).style() == ComboStyle::kDropDown) {
          SendMessageA(n.hwnd, CB_LIMITTEXT, static_cast<WPARAM>(static_cast<ComboBox&>(c).maxLength()), 0);
        }
        break;
      case ControlKind::kListBox:
        if (int h = static_cast<ListBox&>(c).itemHeight(); h > 0) SendMessageA(n.hwnd, LB_SETITEMHEIGHT, 0, h);
        break;
      default:
        break;
    }
  }

  void ApplyChecked(Native& n) {
    Control& c = *n.control;
    bool checked;
    if (c.kind() == ControlKind::kCheckBox) {
      checked = static_cast<CheckBox&>(c).checked();
    } else if (c.kind() == ControlKind::kRadioButton) {
      checked = static_cast<RadioButton&>(c).checked();
    } else {
      return;
    }
    SendMessageA(n.hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }

  void ApplyItems(Native& n) {
    Control& c = *n.control;
    if (!n.hwnd) return;
    if (c.kind() == ControlKind::kListBox) {
      SendMessageA(n.hwnd, LB_RESETCONTENT, 0, 0);
      for (const std::string& s : static_cast<ListBox&>(c).items()) {
        SendMessageA(n.hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
      }
    } else if (c.kind() == ControlKind::kComboBox) {
      SendMessageA(n.hwnd, CB_RESETCONTENT, 0, 0);
      for (const std::string& s : static_cast<ComboBox&>(c).items()) {
        SendMessageA(n.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
      }
      ApplyText(n);
    } else if (c.kind() == ControlKind::kPageControl) {
      SendMessageA(n.hwnd, TCM_DELETEALLITEMS, 0, 0);
      int i = 0;
      for (TabSheet* page : static_cast<PageControl&>(c).pages()) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        std::string caption = page->caption();
        item.pszText = caption.data();
        SendMessageA(n.hwnd, TCM_INSERTITEMA, static_cast<WPARAM>(i++), reinterpret_cast<LPARAM>(&item));
      }
    }
  }

  void ApplySelection(Native& n) {
    Control& c = *n.control;
    if (!n.hwnd) return;
    if (c.kind() == ControlKind::kListBox) {
      auto& l = static_cast<ListBox&>(c);
      if (l.multiSelect()) {
        for (int i = 0; i < l.count(); ++i) SendMessageA(n.hwnd, LB_SETSEL, l.selected(i), i);
        if (l.itemIndex() >= 0) SendMessageA(n.hwnd, LB_SETCARETINDEX, static_cast<WPARAM>(l.itemIndex()), FALSE);
      } else {
        SendMessageA(n.hwnd, LB_SETCURSEL, static_cast<WPARAM>(l.itemIndex()), 0);
      }
    } else if (c.kind() == ControlKind::kComboBox) {
      SendMessageA(n.hwnd, CB_SETCURSEL, static_cast<WPARAM>(static_cast<ComboBox&>(c).itemIndex()), 0);
      ApplyText(n);
    } else if (c.kind() == ControlKind::kPageControl) {
      SendMessageA(n.hwnd, TCM_SETCURSEL, static_cast<WPARAM>(static_cast<PageControl&>(c).activePageIndex()), 0);
    }
  }

  void StartTimers() {
    for (Timer* t : form_.timers()) {
      if (t->Running()) SetTimer(hwnd_, t->id(), t->interval(), nullptr);
    }
  }

  void StopTimers() {
    if (!hwnd_) return;
    for (Timer* t : form_.timers()) KillTimer(hwnd_, t->id());
  }

  // --- Window procedure

  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* view = reinterpret_cast<View*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!view || view->detached_) return DefWindowProcA(hwnd, msg, wp, lp);
    if (!view->hwnd_) view->hwnd_ = hwnd;  // messages sent during CreateWindowEx
    return view->OnMessage(msg, wp, lp);
  }

  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp));
        return 0;
      case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lp));
      case WM_TIMER:
        for (Timer* t : form_.timers()) {
          if (t->id() == wp) {
            user::FireTimer(*t);
            break;
          }
        }
        return 0;
      case WM_CLOSE:
        user::CloseBox(form_);
        return 0;
      case WM_INITMENU:
        // The bar shows the enabling and captions the model has now.
        if (form_.mainMenu() && reinterpret_cast<HMENU>(wp) == GetMenu(hwnd_)) {
          HMENU bar = reinterpret_cast<HMENU>(wp);
          menus_.ForgetSubmenus();
          while (GetMenuItemCount(bar) > 0) DeleteMenu(bar, 0, MF_BYPOSITION);
          menus_.Fill(bar, *form_.mainMenu(), {});
          DrawMenuBar(hwnd_);
        }
        return 0;
      case WM_INITMENUPOPUP:
        menus_.Refresh(reinterpret_cast<HMENU>(wp), form_.mainMenu());
        return 0;
      case DM_GETDEFID: {
        Button* def = form_.DefaultButton();
        Native* n = def ? Find(def) : nullptr;
        return n ? MAKELRESULT(n->id, DC_HASDEFID) : 0;
      }
      case WM_ACTIVATE:
        OnActivate(LOWORD(wp) != WA_INACTIVE, reinterpret_cast<HWND>(lp));
        return 0;
      case WM_SETFOCUS:
        RestoreFocus();
        return 0;
      case WM_WINDOWPOSCHANGED: {
        if (!pushing_ && !IsIconic(hwnd_)) {
          RECT r;
          GetWindowRect(hwnd_, &r);
          form_.ViewMoved(r.left, r.top, r.right - r.left, r.bottom - r.top);
        }
        break;
      }
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN: {
        auto dc = reinterpret_cast<HDC>(wp);
        Native* n = FindHwnd(reinterpret_cast<HWND>(lp));
        if (n) SetTextColor(dc, Resolve(n->control->font().color));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX: {
        LRESULT brush = DefWindowProcA(hwnd_, msg, wp, lp);
        if (Native* n = FindHwnd(reinterpret_cast<HWND>(lp))) {
          SetTextColor(reinterpret_cast<HDC>(wp), Resolve(n->control->font().color));
        }
        return brush;
      }
      default:
        break;
    }
    return DefWindowProcA(hwnd_, msg, wp, lp);
  }

  void OnCommand(int id, int code) {
    if (pushing_) return;
    if (id == IDCANCEL) {
      user::PressEscape(form_);
      return;
    }
    if (static_cast<UINT>(id) >= kFirstMenuId) {
      const MenuPath* path = menus_.PathOf(static_cast<UINT>(id));
      const MenuItem* item = path ? Resolve(form_.mainMenu(), *path) : nullptr;
      if (item && form_.AcceptsInput() && item->enabled && item->visible) {
        auto handler = item->onClick;  // the handler may rebuild the menu
        form_.Dispatch(handler);
      }
      return;
    }
    Native* n = FindId(id);
    if (!n) return;
    Control& c = *n->control;
    switch (c.kind()) {
      case ControlKind::kButton:
      case ControlKind::kCheckBox:
      case ControlKind::kRadioButton:
        if (code == BN_CLICKED) {
          user::Click(c);
        } else if (code == BN_DOUBLECLICKED) {
          user::DoubleClick(c);
        } else if (code == BN_SETFOCUS) {
          form_.ViewFocused(&c);
        }
        break;
      case ControlKind::kLabel:
        if (code == STN_CLICKED) {
          user::Click(c);
        } else if (code == STN_DBLCLK) {
          user::DoubleClick(c);
        }
        break;
      case ControlKind::kEdit:
      case ControlKind::kMemo:
        if (code == EN_CHANGE) {
          user::TextChanged(c, WindowText(n->hwnd));
        } else if (code == EN_SETFOCUS) {
          form_.ViewFocused(&c);
        }
        break;
      case ControlKind::kListBox:
        if (code == LBN_SELCHANGE) {
          ReadListSelection(*n);
        } else if (code == LBN_DBLCLK) {
          user::DoubleClick(c);
        } else if (code == LBN_SETFOCUS) {
          form_.ViewFocused(&c);
        }
        break;
      case ControlKind::kComboBox:
        if (code == CBN_SELCHANGE) {
          int index = static_cast<int>(SendMessageA(n->hwnd, CB_GETCURSEL, 0, 0));
          user::Select(c, index);
        } else if (code == CBN_EDITCHANGE) {
          user::TextChanged(c, WindowText(n->hwnd));
        } else if (code == CBN_SETFOCUS) {
          form_.ViewFocused(&c);
        }
        break;
      default:
        break;
    }
  }

  // The user changed a list box's selection natively: the model takes it, then onClick runs.
  void ReadListSelection(Native& n) {
    auto& list = static_cast<ListBox&>(*n.control);
    if (!form_.AcceptsInput()) return;
    if (list.multiSelect()) {
      for (int i = 0; i < list.count(); ++i) {
        list.SetSelected(i, SendMessageA(n.hwnd, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0);
      }
      list.SetItemIndex(static_cast<int>(SendMessageA(n.hwnd, LB_GETCARETINDEX, 0, 0)));
    } else {
      list.SetItemIndex(static_cast<int>(SendMessageA(n.hwnd, LB_GETCURSEL, 0, 0)));
    }
    form_.Dispatch(list.onClick);
  }

  LRESULT OnNotify(NMHDR* hdr) {
    if (pushing_ || !hdr) return 0;
    Native* n = FindHwnd(hdr->hwndFrom);
    if (!n) return 0;
    Control& c = *n->control;
    if (c.kind() == ControlKind::kPageControl) {
      if (hdr->code == TCN_SELCHANGE) {
        user::Select(c, static_cast<int>(SendMessageA(n->hwnd, TCM_GETCURSEL, 0, 0)));
      } else if (hdr->code == NM_SETFOCUS) {
        form_.ViewFocused(&c);
      }
    } else if (c.kind() == ControlKind::kSpinButton && hdr->code == UDN_DELTAPOS) {
      const auto* ud = reinterpret_cast<NMUPDOWN*>(hdr);
      auto& spin = static_cast<SpinButton&>(c);
      if (ud->iDelta > 0) {
        user::SpinUp(spin);
      } else if (ud->iDelta < 0) {
        user::SpinDown(spin);
      }
      return 1;  // the arrows stay where they are; the handlers step the number
    }
    return 0;
  }

  void RestoreFocus() {
    Control* c = form_.activeControl();
    Native* n = c ? Find(c) : nullptr;
    if (n && n->hwnd && IsWindowVisible(n->hwnd) && IsWindowEnabled(n->hwnd)) SetFocus(n->hwnd);
  }

  void OnActivate(bool active, HWND other) {
    if (!active) {
      // Remember where the focus was, for when the form comes back.
      if (Native* n = FindHwnd(GetFocus())) form_.ViewFocused(n->control);
      return;
    }
    RestoreFocus();
    // Coming back from a window of its own (a message box it showed) is no new activation.
    if (!sequenceDone_ || !form_.AcceptsInput()) return;
    if (other && (other == hwnd_ || GetWindow(other, GW_OWNER) == hwnd_)) return;
    form_.FireActivate();
  }

  Win32Runner& runner_;
  Form& form_;
  HWND hwnd_ = nullptr;
  MenuIds menus_;
  std::vector<Native> natives_;
  int nextId_ = kFirstControlId;
  bool pushing_ = false;
  bool detached_ = false;
  bool modal_ = false;
  bool sequenceDone_ = false;
};

// --- Runner

namespace {

// Forms shown without waiting get their keys through this hook of the thread's message
// queue, so the program's own message loop needs no change.
LRESULT CALLBACK GetMessageHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && wp == PM_REMOVE && tlsRunner) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && tlsRunner->PreTranslateModeless(msg)) {
      msg->message = WM_NULL;
      msg->wParam = 0;
      msg->lParam = 0;
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

struct DisabledWindows {
  HWND keep;
  std::vector<HWND> windows;
};

BOOL CALLBACK DisableOne(HWND w, LPARAM lp) {
  auto* d = reinterpret_cast<DisabledWindows*>(lp);
  if (w != d->keep && IsWindowVisible(w) && IsWindowEnabled(w)) {
    d->windows.push_back(w);
    EnableWindow(w, FALSE);
  }
  return TRUE;
}

}  // namespace

Win32Runner::Win32Runner() : fonts_(std::make_unique<Fonts>()) {
  if (!tlsRunner) tlsRunner = this;
}

Win32Runner::~Win32Runner() {
  for (auto& [form, view] : views_) form->DetachView();
  views_.clear();
  if (hook_) UnhookWindowsHookEx(static_cast<HHOOK>(hook_));
  if (menuOwner_) DestroyWindow(static_cast<HWND>(menuOwner_));
  if (tlsRunner == this) tlsRunner = nullptr;
}

void Win32Runner::InstallHook() {
  if (hook_ || tlsRunner != this) return;
  hook_ = SetWindowsHookExA(WH_GETMESSAGE, &GetMessageHook, nullptr, GetCurrentThreadId());
}

Win32Runner::View& Win32Runner::ViewFor(Form& form) {
  auto it = views_.find(&form);
  if (it != views_.end()) return *it->second;
  auto view = std::make_unique<View>(*this, form);
  View& v = *view;
  views_.emplace(&form, std::move(view));
  form.AttachView(&v);
  v.Create();
  return v;
}

void Win32Runner::DropView(Form& form) {
  form.DetachView();
  views_.erase(&form);
}

Win32Runner::View* Win32Runner::ViewOfWindow(void* hwnd) const {
  HWND root = GetAncestor(static_cast<HWND>(hwnd), GA_ROOT);
  for (const auto& [form, view] : views_) {
    if (view->hwnd() && view->hwnd() == root) return view.get();
  }
  return nullptr;
}

bool Win32Runner::PreTranslate(void* msg) {
  auto* m = static_cast<MSG*>(msg);
  View* view = ViewOfWindow(m->hwnd);
  return view && view->PreTranslate(*m);
}

bool Win32Runner::PreTranslateModeless(void* msg) {
  auto* m = static_cast<MSG*>(msg);
  View* view = ViewOfWindow(m->hwnd);
  return view && !view->modal() && view->PreTranslate(*m);
}

bool Win32Runner::PreTranslateModal(void* msg) {
  auto* m = static_cast<MSG*>(msg);
  View* view = ViewOfWindow(m->hwnd);
  return view && view->modal() && view->PreTranslate(*m);
}

void Win32Runner::StartShow(Form& form, View& view, bool modal, bool activate) {
  view.SetModal(modal);
  form.BeginShowing(modal);
  form.FireCreate();
  form.FireResize();
  form.FireShow();
  view.ShowNative(activate);
  form.SetInitialFocus();
  view.SequenceDone(true);
  if (activate) form.FireActivate();
}

ModalResult Win32Runner::ShowModal(Form& form) {
  if (form.Showing()) return ModalResult::kNone;
  View& view = ViewFor(form);
  if (!view.hwnd()) {
    DropView(form);
    return ModalResult::kCancel;
  }
  DisabledWindows disabled{view.hwnd(), {}};
  EnumThreadWindows(GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(&disabled));
  StartShow(form, view, true, true);

  while (!form.ModalDone()) {
    MSG msg;
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The program is quitting: end the show and leave the quit for the outer loop.
      PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
      form.ForceModalEnd(ModalResult::kCancel);
      break;
    }
    // Forms shown without waiting are disabled meanwhile; the hook serves them otherwise.
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && PreTranslateModal(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }

  // Enable the others before the form goes, so that Windows activates the one below it.
  for (HWND w : disabled.windows) {
    if (IsWindow(w)) EnableWindow(w, TRUE);
  }
  view.HideNative();
  const ModalResult result = form.modalResult();
  form.EndShowing();
  DropView(form);
  return result;
}

void Win32Runner::Show(Form& form, bool activate) {
  if (form.Showing()) {
    if (activate && form.Handle()) SetForegroundWindow(ToHwnd(form.Handle()));
    return;
  }
  View& view = ViewFor(form);
  if (!view.hwnd()) {
    DropView(form);
    return;
  }
  InstallHook();
  StartShow(form, view, false, activate);
}

std::string Win32Runner::Popup(MenuItem& menu, platform::Point at, platform::WindowHandle owner) {
  HWND w = ToHwnd(owner);
  if (!w || !IsWindow(w)) {
    // A pop-up menu needs a window of ours to report to.
    if (!menuOwner_ || !IsWindow(static_cast<HWND>(menuOwner_))) {
      menuOwner_ = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    }
    w = static_cast<HWND>(menuOwner_);
  }
  MenuIds ids;
  HMENU h = CreatePopupMenu();
  ids.Fill(h, menu, {});
  // The menu closes properly only when its owner is in front (and gets a message after).
  SetForegroundWindow(w);
  const UINT cmd = static_cast<UINT>(
      TrackPopupMenu(h, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, w, nullptr));
  PostMessageA(w, WM_NULL, 0, 0);
  DestroyMenu(h);
  const MenuPath* path = cmd ? ids.PathOf(cmd) : nullptr;
  const MenuItem* item = path ? Resolve(&menu, *path) : nullptr;
  if (!item || !item->enabled) return {};
  std::string name = item->name;
  auto handler = item->onClick;  // the handler may rebuild the menu
  if (handler) handler();
  return name;
}

int Win32Runner::TextWidth(const Font& font, std::string_view text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, fonts_->Get(font));
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return static_cast<int>(size.cx);
}

}  // namespace wdx::forms
