// Inside the Win32 view: the native window of one control and what a control adapter may ask of
// the form's view. Only the view's own files include this (it brings <windows.h>).
#pragma once

#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <string>

#include "forms/control.h"
#include "platform/types.h"

namespace wdx::forms::win32 {

HWND ToHwnd(platform::WindowHandle h);
platform::WindowHandle FromHwnd(HWND h);
// The colour Windows draws for a model colour (system colours resolved).
COLORREF ColorRef(Color c);
std::string WindowText(HWND w);

// One control of a shown form and its native window.
struct Native {
  Control* control;
  HWND hwnd;  // nullptr for controls that are only a grouping (tab sheets)
  int id;     // the child window id its notifications carry
  bool shown = false;
  bool enabled = true;
};

// What an adapter may ask of the view of the form its control sits on.
class ViewAccess {
 public:
  // The native window of another control of the form, or nullptr.
  virtual Native* Find(const Control* control) = 0;
  // Pushes properties of a control into its native window, as a change of the model does.
  virtual void Changed(Control& control, unsigned props) = 0;
  // The GDI font of a model font (kept by the runner).
  virtual HFONT FontFor(const Font& font) = 0;

 protected:
  ~ViewAccess() = default;
};

// How a control's native window is made.
struct NativeClass {
  const char* name = nullptr;  // the window class; nullptr: no window of its own
  DWORD style = 0;             // beyond WS_CHILD
  DWORD exStyle = 0;
  bool withText = true;         // made with the control's text as its window text
  bool continuesGroup = false;  // joins the group of the control before it (no WS_GROUP)
};

// Everything the Win32 view does for one kind of control: the native window it makes, how the
// model's state goes into it and how the user's doing comes back. One adapter per control kind,
// found through the registry (AdapterFor); the view itself knows no kind.
//
// The user's doing goes back through forms/user.h (the rules native tests play), never
// straight into handlers.
class ControlAdapter {
 public:
  virtual ~ControlAdapter() = default;

  // `previous` is the control made just before this one on the same form (or nullptr).
  virtual NativeClass Class(const Control& control, const Control* previous) const = 0;
  // Height of the native window beyond the control's own (a combo box's drop-down list).
  virtual int ExtraHeight() const { return 0; }
  // Whether a change of options needs a new native window (styles Windows fixes at creation).
  virtual bool RecreateForOptions() const { return false; }
  // Once after the native window was made, before the model's state is pushed.
  virtual void Created(Native& /*n*/) const {}
  // Pushes the model's properties (prop::kOptions, kText, kChecked, kItems, kSelection; others
  // are the view's) into the native window. The default sets the window text.
  virtual void Apply(ViewAccess& view, Native& n, unsigned props) const;
  // A WM_COMMAND notification of the native window (not while the view pushes).
  virtual void Command(Native& /*n*/, int /*code*/) const {}
  // A WM_NOTIFY of the native window (or of a window inside it, such as a list's header); the
  // message's result.
  virtual LRESULT Notify(Native& /*n*/, const NMHDR& /*hdr*/) const { return 0; }
  // A message the form's window gets on the native window's behalf (WM_DRAWITEM,
  // WM_MEASUREITEM): true when handled, with the result in `result`.
  virtual bool ParentMessage(ViewAccess& /*view*/, Native& /*n*/, UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/,
                             LRESULT* /*result*/) const {
    return false;
  }
  // The control is going (its own parts are destroyed already; only its parent is safe).
  virtual void Removed(ViewAccess& /*view*/, Control& /*control*/) const {}
};

// A native window whose messages pass through `proc` first, with its control kept beside it:
// `proc` finds the control with SubclassedControl, hands what it leaves to CallOriginal, and the
// window's own procedure comes back by itself when the window is destroyed.
void Subclass(HWND w, Control* control, WNDPROC proc);
Control* SubclassedControl(HWND w);
LRESULT CallOriginal(HWND w, UINT msg, WPARAM wp, LPARAM lp);

// Sets the window text to the control's text when it differs.
void ApplyText(Native& n);
// The native window took the keyboard focus: the model follows.
void Focused(Native& n);

// The one instance of an adapter class (adapters hold no state).
template <class Adapter>
const ControlAdapter& The() {
  static const Adapter adapter;
  return adapter;
}

// The adapter of a control kind (the registry, adapter_registry.cpp).
const ControlAdapter& AdapterFor(ControlKind kind);

}  // namespace wdx::forms::win32
