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
#include "forms/win32/comctl.h"
#include "forms/win32/menus.h"
#include "forms/win32/native.h"
#include "platform/win32/front_input.h"

namespace wdx::forms {

using win32::ColorRef;
using win32::FromHwnd;
using win32::MenuIds;
using win32::MenuPath;
using win32::Native;
using win32::ToHwnd;

namespace {

constexpr char kFormClass[] = "WdxForm";
constexpr int kFirstControlId = 100;

// The forms of this thread's runner, for the message hook of forms shown without waiting.
thread_local Win32Runner* tlsRunner = nullptr;

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
  win32::comctl::Init(ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES);
}

}  // namespace

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

class Win32Runner::View : public FormView, public win32::ViewAccess {
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
    // Keys typed into the window in front, and not yet taken by it, would follow the focus here.
    if (activate) platform::win32::LetFrontTakeItsKeys();
    int show = activate ? SW_SHOW : SW_SHOWNOACTIVATE;
    if (form_.windowState() == WindowState::kMaximized) show = SW_SHOWMAXIMIZED;
    if (form_.windowState() == WindowState::kMinimized) show = activate ? SW_SHOWMINIMIZED : SW_SHOWMINNOACTIVE;
    ShowWindow(hwnd_, show);
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
    // Menu shortcuts come before the focused control, as accelerators do.
    if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && form_.mainMenu()) {
      const Shortcut key{static_cast<std::uint8_t>(msg.wParam), GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                         GetKeyState(VK_MENU) < 0};
      if (user::PressShortcut(form_, key)) return true;
    }
    if (msg.message == WM_SYSCHAR && user::PressPageAccelerator(form_, static_cast<char>(msg.wParam))) return true;
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
    if (props & prop::kSelection) {
      const WindowState state = form_.windowState();
      if (IsWindowVisible(hwnd_)) {
        ShowWindow(hwnd_, state == WindowState::kMaximized   ? SW_MAXIMIZE
                          : state == WindowState::kMinimized ? SW_MINIMIZE
                                                             : SW_RESTORE);
      }
    }
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
    win32::AdapterFor(c.kind()).Removed(*this, c);
  }

  // --- ViewAccess

  Native* Find(const Control* c) override {
    for (Native& n : natives_) {
      if (n.control == c) return &n;
    }
    return nullptr;
  }

  void Changed(Control& c, unsigned props) override { ControlChanged(c, props); }

  HFONT FontFor(const Font& font) override { return runner_.fonts_->Get(font); }

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
    return RECT{x, y, x + c.width(), y + c.height() + win32::AdapterFor(c.kind()).ExtraHeight()};
  }

  // Creates the native control of c. `after` is the window it follows in the Z (tab) order, or
  // nullptr to add it at the end.
  void CreateNative(Control& c, HWND after) {
    const win32::ControlAdapter& adapter = win32::AdapterFor(c.kind());
    const Control* previous = natives_.empty() ? nullptr : natives_.back().control;
    const win32::NativeClass cls = adapter.Class(c, previous);
    const int id = nextId_++;
    // In the list before its window exists: the window asks its parent things (its row height)
    // while it is being made.
    natives_.push_back(Native{&c, nullptr, id});
    if (!cls.name) return;
    DWORD style = WS_CHILD | cls.style;
    if (!cls.continuesGroup) style |= WS_GROUP;
    RECT r = Place(c);
    HWND w = CreateWindowExA(cls.exStyle, cls.name, cls.withText ? c.text().c_str() : "", style, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), GetModuleHandleA(nullptr),
                             nullptr);
    Native& added = *FindId(id);
    added.hwnd = w;
    if (!w) return;
    if (after) SetWindowPos(w, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(added.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(runner_.fonts_->Get(c.font())), FALSE);
    Pushing guard(*this);
    adapter.Created(added);
    adapter.Apply(*this, added, prop::kOptions | prop::kChecked | prop::kItems | prop::kSelection);
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
    const win32::ControlAdapter& adapter = win32::AdapterFor(c.kind());
    Native* n = Find(&c);
    if ((props & prop::kOptions) && n) {
      if (adapter.RecreateForOptions()) {
        Recreate(*n);
        n = Find(&c);
      } else {
        adapter.Apply(*this, *n, prop::kOptions);
      }
    }
    if (!n) return;
    if (props & prop::kBounds) PlaceTree(c);
    if (props & prop::kFont) ApplyFonts();
    const unsigned state = props & (prop::kText | prop::kChecked | prop::kItems | prop::kSelection);
    if (state) adapter.Apply(*this, *n, state);
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
      case WM_SIZE:
        form_.ViewStateChanged(wp == SIZE_MINIMIZED   ? WindowState::kMinimized
                               : wp == SIZE_MAXIMIZED ? WindowState::kMaximized
                                                      : WindowState::kNormal);
        break;
      case WM_DRAWITEM:
      case WM_MEASUREITEM: {
        // Both carry the control id at the same place.
        const UINT id = msg == WM_DRAWITEM ? reinterpret_cast<DRAWITEMSTRUCT*>(lp)->CtlID
                                           : reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->CtlID;
        LRESULT result = 0;
        if (Native* n = FindId(static_cast<int>(id))) {
          if (win32::AdapterFor(n->control->kind()).ParentMessage(*this, *n, msg, wp, lp, &result)) return result;
        }
        break;
      }
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
        if (n) SetTextColor(dc, ColorRef(n->control->font().color));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX: {
        LRESULT brush = DefWindowProcA(hwnd_, msg, wp, lp);
        if (Native* n = FindHwnd(reinterpret_cast<HWND>(lp))) {
          SetTextColor(reinterpret_cast<HDC>(wp), ColorRef(n->control->font().color));
        }
        return brush;
      }
      default:
        if (msg >= WM_USER && msg < 0x8000 && form_.HandleMessage(msg, wp, lp)) return 0;
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
    if (const MenuPath* path = menus_.PathOf(static_cast<UINT>(id))) {
      const MenuItem* item = win32::ItemAt(form_.mainMenu(), *path);
      if (item && form_.AcceptsInput() && item->enabled && item->visible) {
        auto handler = item->onClick;  // the handler may rebuild the menu
        form_.Dispatch(handler);
      }
      return;
    }
    if (Native* n = FindId(id)) win32::AdapterFor(n->control->kind()).Command(*n, code);
  }

  LRESULT OnNotify(NMHDR* hdr) {
    if (pushing_ || !hdr) return 0;
    Native* n = FindHwnd(hdr->hwndFrom);
    // A window inside a control (a list's header) speaks for that control.
    if (!n) n = FindHwnd(GetParent(hdr->hwndFrom));
    return n ? win32::AdapterFor(n->control->kind()).Notify(*n, *hdr) : 0;
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
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && PreTranslateModeless(*tlsRunner, msg)) {
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

bool Win32Runner::PreTranslate(void* msg, bool modal) {
  auto* m = static_cast<MSG*>(msg);
  View* view = ViewOfWindow(m->hwnd);
  return view && view->modal() == modal && view->PreTranslate(*m);
}

bool PreTranslateModeless(Win32Runner& runner, void* msg) { return runner.PreTranslate(msg, false); }

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
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && PreTranslate(&msg, true)) continue;
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
    if (activate && form.Handle()) {
      platform::win32::LetFrontTakeItsKeys();
      SetForegroundWindow(ToHwnd(form.Handle()));
    }
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
  const MenuItem* item = path ? win32::ItemAt(&menu, *path) : nullptr;
  if (!item || !item->enabled) return {};
  std::string name = item->name;
  auto handler = item->onClick;  // the handler may rebuild the menu
  if (handler) handler();
  return name;
}

namespace {
SIZE TextExtent(HFONT font, std::string_view text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size;
}
}  // namespace

int Win32Runner::TextHeight(const Font& font, std::string_view text) {
  return static_cast<int>(TextExtent(fonts_->Get(font), text).cy);
}

int Win32Runner::TextWidth(const Font& font, std::string_view text) {
  return static_cast<int>(TextExtent(fonts_->Get(font), text).cx);
}

}  // namespace wdx::forms
