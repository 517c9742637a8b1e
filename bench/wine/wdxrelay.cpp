// The least the hot-key road needs, for comparison with Wendplay: a low-level keyboard hook on
// a thread of its own sees Ctrl+Alt+R, swallows it and posts to a window; the window waits
// until Ctrl and Alt are let go and sends one key ("x") with keybd_event.
#include <windows.h>

namespace {

HWND g_window = nullptr;
constexpr UINT kRelay = WM_APP + 1;

// The hook keeps its own Ctrl and Alt state, as a hot-key hook must (the key state another
// thread sees may lag behind the events the hook is shown).
bool g_ctrl = false, g_alt = false;

LRESULT CALLBACK HookProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    const bool down = wp == WM_KEYDOWN || wp == WM_SYSKEYDOWN;
    switch (k->vkCode) {
      case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL: g_ctrl = down; break;
      case VK_MENU: case VK_LMENU: case VK_RMENU: g_alt = down; break;
      case 'R':
        if (g_ctrl && g_alt) {
          if (down) PostMessageA(g_window, kRelay, 0, 0);
          return 1;
        }
        break;
      default: break;
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

DWORD WINAPI HookThread(LPVOID) {
  HHOOK hook = SetWindowsHookExA(WH_KEYBOARD_LL, HookProc, GetModuleHandleA(nullptr), 0);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  UnhookWindowsHookEx(hook);
  return 0;
}

void Key(BYTE vk, bool up) { keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), up ? KEYEVENTF_KEYUP : 0, 0); }

LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kRelay) {
    const DWORD start = GetTickCount();
    while (((GetAsyncKeyState(VK_CONTROL) | GetAsyncKeyState(VK_MENU)) & 0x8000) && GetTickCount() - start < 2000)
      Sleep(1);
    Key('X', false);
    Key('X', true);
    return 0;
  }
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
  wc.lpszClassName = "WdxRelay";
  RegisterClassA(&wc);
  g_window = CreateWindowExA(0, "WdxRelay", "WDX Relay", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, HookThread, nullptr, 0, nullptr);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  PostThreadMessageA(GetThreadId(thread), WM_QUIT, 0, 0);
  WaitForSingleObject(thread, 2000);
  return 0;
}
