// Before one of our windows takes the foreground: the keys we typed must first reach the
// window they were typed into.
//
// Keyboard input waits in the queue of the thread in front and goes, when that thread takes it
// out, to whatever window has the focus then. A program slower than our typing still holds
// keys when a window of ours comes forward; they would then go to our window, or nowhere.
// A thread is sent WM_PAINT only once its queue holds no input, so a small area invalidated
// in its focus window and painted again shows that every earlier key has been taken out.
#pragma once

#include <windows.h>

namespace wdx::platform::win32 {

// Waits at most maxMs (a thread that never paints costs no more); returns at once when the
// front window is this thread's own, shows nothing to paint (hidden, minimised) or is one the
// system takes for hung. A thread with an empty queue paints within milliseconds; a slow one on
// a busy machine may need a good part of a second for the keys it holds.
inline void LetFrontTakeItsKeys(DWORD maxMs = 2000) {
  HWND front = GetForegroundWindow();
  if (front == nullptr || IsHungAppWindow(front)) return;
  const DWORD thread = GetWindowThreadProcessId(front, nullptr);
  if (thread == 0 || thread == GetCurrentThreadId()) return;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  HWND focus = GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr ? info.hwndFocus : front;
  if (!IsWindowVisible(focus) || IsIconic(front)) return;
  RECT one{0, 0, 1, 1};
  // An area already waiting (the window's own, after a typed key) is painted no sooner either.
  if (!InvalidateRect(focus, &one, FALSE)) return;
  const DWORD start = GetTickCount();
  while (GetUpdateRect(focus, nullptr, FALSE) && IsWindow(focus) && GetTickCount() - start < maxMs) Sleep(5);
}

}  // namespace wdx::platform::win32
