// The common controls library, loaded by name when a form first needs it (its window classes
// and the theme cost about 1.5 MB under Wine in a player that shows no form).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/win32/late_entry.h"

namespace wdx::forms::win32::comctl {

template <class Fn>
Fn Get(const char* name) {
  return platform::win32::LateEntry<Fn>("comctl32.dll", name);
}

inline void Init(DWORD classes) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), classes};
  if (const auto init = Get<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>("InitCommonControlsEx")) init(&icc);
}

inline HIMAGELIST Duplicate(HIMAGELIST list) {
  const auto f = Get<HIMAGELIST(WINAPI*)(HIMAGELIST)>("ImageList_Duplicate");
  return f ? f(list) : nullptr;
}

inline bool IconSize(HIMAGELIST list, int* cx, int* cy) {
  const auto f = Get<BOOL(WINAPI*)(HIMAGELIST, int*, int*)>("ImageList_GetIconSize");
  return f && f(list, cx, cy);
}

inline HICON Icon(HIMAGELIST list, int index, UINT flags) {
  const auto f = Get<HICON(WINAPI*)(HIMAGELIST, int, UINT)>("ImageList_GetIcon");
  return f ? f(list, index, flags) : nullptr;
}

inline bool Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style) {
  const auto f = Get<BOOL(WINAPI*)(HIMAGELIST, int, HDC, int, int, UINT)>("ImageList_Draw");
  return f && f(list, index, dc, x, y, style);
}

}  // namespace wdx::forms::win32::comctl
