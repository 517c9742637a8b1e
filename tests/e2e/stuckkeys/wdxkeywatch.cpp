// The stuck-key and hook-survival tests' window and key query.
//
//   wdxkeywatch window LOGFILE   a window titled "Key Watch" that appends one line per key it
//                                receives: "down VK MODS" (VK in hex; MODS the held modifiers
//                                C, A, S, W, or "-") and "char CODE" for each character;
//                                WM_CLOSE ends it
//   wdxkeywatch down             prints the virtual keys the system holds down (GetAsyncKeyState),
//                                in hex, or "none"
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

FILE* g_log = nullptr;

bool Down(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

std::string Modifiers() {
  std::string m;
  if (Down(VK_CONTROL)) m += 'C';
  if (Down(VK_MENU)) m += 'A';
  if (Down(VK_SHIFT)) m += 'S';
  if (Down(VK_LWIN) || Down(VK_RWIN)) m += 'W';
  return m.empty() ? "-" : m;
}

LRESULT CALLBACK WatchProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      std::fprintf(g_log, "down %02X %s\n", static_cast<unsigned>(wp & 0xFF), Modifiers().c_str());
      std::fflush(g_log);
      return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
      std::fprintf(g_log, "char %u\n", static_cast<unsigned>(wp & 0xFF));
      std::fflush(g_log);
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return 0;  // an Alt released alone must not put the window into menu mode
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_KEYMENU) return 0;
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

int RunWindow(const char* logFile) {
  g_log = std::fopen(logFile, "a");
  if (g_log == nullptr) return 2;
  WNDCLASSA wc{};
  wc.lpfnWndProc = WatchProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "WdxKeyWatch";
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  if (!RegisterClassA(&wc)) return 2;
  HWND w = CreateWindowExA(0, "WdxKeyWatch", "Key Watch", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 200,
                           nullptr, nullptr, wc.hInstance, nullptr);
  if (w == nullptr) return 2;
  SetForegroundWindow(w);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  std::fclose(g_log);
  return 0;
}

int PrintKeysDown() {
  std::string out;
  for (int vk = 1; vk < 255; ++vk) {
    // The mouse buttons are no keys a macro could leave down here.
    if (vk == VK_LBUTTON || vk == VK_RBUTTON || vk == VK_MBUTTON || vk == VK_XBUTTON1 || vk == VK_XBUTTON2) continue;
    if (GetAsyncKeyState(vk) & 0x8000) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "%s%02X", out.empty() ? "" : " ", vk);
      out += hex;
    }
  }
  std::printf("%s\n", out.empty() ? "none" : out.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string cmd = argc > 1 ? argv[1] : "";
  if (cmd == "window" && argc == 3) return RunWindow(argv[2]);
  if (cmd == "down") return PrintKeysDown();
  std::fprintf(stderr, "usage: wdxkeywatch window LOGFILE | down\n");
  return 2;
}
