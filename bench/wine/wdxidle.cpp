// The smallest Windows program with a window and a message loop: the floor for idle memory.
#include <windows.h>

namespace {
LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = "WdxIdle";
  RegisterClassA(&wc);
  CreateWindowExA(0, "WdxIdle", "WDX Idle", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  return 0;
}
