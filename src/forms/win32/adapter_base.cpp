#include <algorithm>
#include <cstdint>

#include "forms/form.h"
#include "forms/win32/native.h"

namespace wdx::forms::win32 {

HWND ToHwnd(platform::WindowHandle h) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(h)); }

platform::WindowHandle FromHwnd(HWND h) {
  return static_cast<platform::WindowHandle>(reinterpret_cast<std::uintptr_t>(h));
}

COLORREF ColorRef(Color c) {
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

void ControlAdapter::Apply(ViewAccess& /*view*/, Native& n, unsigned props) const {
  if (props & prop::kText) ApplyText(n);
}

namespace {
constexpr char kControlProp[] = "WdxControl";
constexpr char kOldProcProp[] = "WdxOldProc";
}  // namespace

Control* SubclassedControl(HWND w) { return static_cast<Control*>(GetPropA(w, kControlProp)); }

LRESULT CallOriginal(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto old = reinterpret_cast<WNDPROC>(GetPropA(w, kOldProcProp));
  const LRESULT r = old ? CallWindowProcA(old, w, msg, wp, lp) : DefWindowProcA(w, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    if (old) SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    RemovePropA(w, kOldProcProp);
    RemovePropA(w, kControlProp);
  }
  return r;
}

void Subclass(HWND w, Control* control, WNDPROC proc) {
  SetPropA(w, kControlProp, control);
  SetPropA(w, kOldProcProp, reinterpret_cast<HANDLE>(GetWindowLongPtrA(w, GWLP_WNDPROC)));
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
}

void ApplyText(Native& n) {
  if (n.hwnd && WindowText(n.hwnd) != n.control->text()) SetWindowTextA(n.hwnd, n.control->text().c_str());
}

void Focused(Native& n) { n.control->form().ViewFocused(n.control); }

}  // namespace wdx::forms::win32
