// wdxwincmdtool: the window commands' test helper under Wine. It hosts the windows the macros act
// on and reads back what they did:
//   target TITLE LOGFILE   a window whose client area writes every click it receives to LOGFILE
//                          ("down L|R|M X Y" and "dbl L X Y" in client pixels), with a one-line
//                          Edit holding "alpha beta gamma" for double-clicks on a word
//   window TITLE...        a plain window with that title (the words joined by blanks)
//   rect HWND              the window rectangle: left top right bottom
//   state HWND             maximized, minimized or normal
//   client HWND            the client area's top-left corner on the screen: x y
//   charpos HWND INDEX     a screen point inside character INDEX of the window's Edit child: x y
//   selection HWND         the selected text of the window's Edit child (without blanks after it)
//   text HWND              the text of the window's Edit child
//   desktop HWND LOGFILE   the window, launch and mouse macros' scenario (HWND the click target)
//   wait WHAT HWND EXPECTED [MS]
//                          reads rect, state, client, text or selection until it is EXPECTED (10 s)
// Exit code 0 done, 1 failed, 2 usage.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

int Usage(const char* why) {
  std::fprintf(stderr, "wdxwincmdtool: %s\n", why);
  return kUsage;
}

HWND ParseHwnd(const char* s) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::strtoull(s, nullptr, 0)));
}

std::FILE* g_log = nullptr;

void LogClick(const char* what, char button, LPARAM lp) {
  if (!g_log) return;
  std::fprintf(g_log, "%s %c %d %d\n", what, button, static_cast<int>(static_cast<short>(LOWORD(lp))),
               static_cast<int>(static_cast<short>(HIWORD(lp))));
  std::fflush(g_log);
}

LRESULT CALLBACK TargetProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_LBUTTONDOWN: LogClick("down", 'L', lp); return 0;
    case WM_RBUTTONDOWN: LogClick("down", 'R', lp); return 0;
    case WM_MBUTTONDOWN: LogClick("down", 'M', lp); return 0;
    case WM_LBUTTONDBLCLK: LogClick("dbl", 'L', lp); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(w, m, wp, lp);
  }
}

int Loop() {
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return kOk;
}

HWND MakeWindow(const char* className, const char* title, UINT classStyle) {
  WNDCLASSA wc = {};
  wc.style = classStyle;
  wc.lpfnWndProc = TargetProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = className;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150, 420, 300, nullptr,
                           nullptr, wc.hInstance, nullptr);
  SetForegroundWindow(w);
  return w;
}

int Target(const char* title, const char* logPath) {
  g_log = std::fopen(logPath, "w");
  if (!g_log) return kFailed;
  HWND w = MakeWindow("WdxClickTarget", title, CS_DBLCLKS);
  CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "alpha beta gamma", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 20, 180, 360,
                  28, w, nullptr, GetModuleHandleA(nullptr), nullptr);
  return Loop();
}

// window.log beside the program: what a macro did to a window that may live only a moment.
void NoteWindow(const char* what, const std::string& title) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (char* slash = std::strrchr(path, '\\')) std::strcpy(slash + 1, "window.log");
  if (std::FILE* f = std::fopen(path, "ab")) {
    std::fprintf(f, "%s %s\n", what, title.c_str());
    std::fclose(f);
  }
}

int Window(int argc, char** argv) {
  std::string title;
  for (int i = 0; i < argc; ++i) title += (i ? " " : "") + std::string(argv[i]);
  MakeWindow("WdxPlainWindow", title.c_str(), 0);
  NoteWindow("shown", title);
  const int result = Loop();
  NoteWindow("quit", title);
  return result;
}

HWND EditOf(HWND w) { return FindWindowExA(w, nullptr, "EDIT", nullptr); }

// What the read commands print for a window; false when it cannot be read.
bool Read(const std::string& what, HWND w, std::string& out) {
  char text[512] = {};
  if (what == "rect") {
    RECT r;
    if (!GetWindowRect(w, &r)) return false;
    std::snprintf(text, sizeof text, "%ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
  } else if (what == "state") {
    std::snprintf(text, sizeof text, "%s", IsZoomed(w) ? "maximized" : IsIconic(w) ? "minimized" : "normal");
  } else if (what == "client") {
    POINT p = {0, 0};
    ClientToScreen(w, &p);
    std::snprintf(text, sizeof text, "%ld %ld", p.x, p.y);
  } else if (what == "text" || what == "selection") {
    HWND edit = EditOf(w);
    if (!edit) return false;
    // WM_GETTEXT, not GetWindowText: the control's text lives in its own process.
    SendMessageA(edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    if (what == "selection") {
      // The edit belongs to another process: the answer comes in the result, not through pointers.
      const LRESULT sel = SendMessageA(edit, EM_GETSEL, 0, 0);
      const std::string all(text);
      std::string word = LOWORD(sel) < HIWORD(sel) && HIWORD(sel) <= all.size()
                             ? all.substr(LOWORD(sel), HIWORD(sel) - LOWORD(sel))
                             : std::string();
      while (!word.empty() && word.back() == ' ') word.pop_back();  // a double-click takes the blank after the word too
      out = word;
      return true;
    }
  } else {
    return false;
  }
  out = text;
  return true;
}

// wait WHAT HWND EXPECTED [MS]: reads WHAT every 50 ms until it is EXPECTED (default 10 s).
int Wait(const std::string& what, HWND w, const std::string& expected, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  std::string seen;
  for (;;) {
    const bool read = Read(what, w, seen);
    if (read && seen == expected) break;
    if (GetTickCount() - start > timeoutMs) {
      std::printf("%s\n", seen.c_str());
      return kFailed;
    }
    Sleep(50);
  }
  std::printf("%s\n", seen.c_str());
  return kOk;
}

// ---------------------------------------------------------------------------------------------
// desktop: the scenario of the window, launch and mouse commands in one process (every program
// start under Wine costs time). It presses the macros' hot keys as a user would and checks what
// they did; each check prints "ok   ..." or "FAIL ...".

int g_failed = 0;

void Check(const std::string& what, const std::string& expected, const std::string& seen) {
  if (seen == expected) {
    std::printf("ok   %s\n", what.c_str());
  } else {
    ++g_failed;
    std::printf("FAIL %s: expected '%s', got '%s'\n", what.c_str(), expected.c_str(), seen.c_str());
  }
  std::fflush(stdout);
}

// Reads until the value is `expected` or `ms` have passed; the last value read.
template <class ReadFn>
std::string Until(ReadFn read, const std::string& expected, DWORD ms) {
  const DWORD start = GetTickCount();
  std::string seen;
  for (;;) {
    seen = read();
    if (seen == expected || GetTickCount() - start > ms) return seen;
    Sleep(50);
  }
}

void Expect(const std::string& what, HWND w, const char* kind, const std::string& expected, DWORD ms = 10000) {
  Check(what, expected, Until([&] {
          std::string out;
          Read(kind, w, out);
          return out;
        }, expected, ms));
}

HWND WaitWindow(const char* className, const char* title, DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    HWND w = FindWindowA(className, title);
    if (w && IsWindowVisible(w)) return w;
    if (GetTickCount() - start > ms) return nullptr;
    Sleep(50);
  }
}

bool WaitGone(HWND w, DWORD ms) {
  const DWORD start = GetTickCount();
  while (IsWindow(w)) {
    if (GetTickCount() - start > ms) return false;
    Sleep(50);
  }
  return true;
}

// The hot key of a macro; a moment first, so the previous macro's run has ended (while one plays
// the hook library lets other programs' keys pass).
void HotKey(char letter) {
  Sleep(1500);
  const BYTE keys[] = {VK_CONTROL, VK_MENU, static_cast<BYTE>(letter - 'a' + 'A')};
  for (BYTE k : keys) keybd_event(k, static_cast<BYTE>(MapVirtualKeyA(k, 0)), 0, 0);
  for (int i = 2; i >= 0; --i) keybd_event(keys[i], static_cast<BYTE>(MapVirtualKeyA(keys[i], 0)), KEYEVENTF_KEYUP, 0);
}

std::string ChildText(HWND w, const char* className) {
  HWND c = FindWindowExA(w, nullptr, className, nullptr);
  char text[512] = {};
  if (c) SendMessageA(c, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

std::string FileText(const char* path) {
  std::string all;
  if (std::FILE* f = std::fopen(path, "rb")) {
    char buf[512];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) all.append(buf, n);
    std::fclose(f);
  }
  return all;
}

int Desktop(HWND target, const char* clickLog) {
  // Notepad: launched and waited for, typed into, sized and placed, maximised, restored, put in
  // a corner and shrunk as the window in front, closed.
  Check("no Notepad runs before the macro", "", FindWindowA("Notepad", nullptr) ? "running" : "");
  DWORD t0 = GetTickCount();
  HotKey('n');
  HWND np = WaitWindow("Notepad", nullptr, 15000);
  Check("the macro starts Notepad", "yes", np ? "yes" : "no");
  if (np) {
    Expect("it types into Notepad once its window is in front", np, "text", "hello");
    Expect("it sizes and places the window: 500 by 300 at (40, 50)", np, "rect", "40 50 540 350");
    std::printf("     (launch to placed window: %.1f s)\n", (GetTickCount() - t0) / 1000.0);
    HotKey('x');
    Expect("\"<WMAX:\" maximises it", np, "state", "maximized");
    HotKey('r');
    Expect("\"<WRES:\" restores it", np, "state", "normal");
    Expect("restored to its place and size", np, "rect", "40 50 540 350");
    HotKey('b');
    Expect("the bottom-right anchor, then 100 by 50 smaller as the window in front", np, "rect", "780 724 1180 974");
    SendMessageA(FindWindowExA(np, nullptr, "Edit", nullptr), EM_SETMODIFY, 0, 0);
    HotKey('c');
    Check("\"<WCLS:\" closes it", "yes", WaitGone(np, 10000) ? "yes" : "no");
  }

  // A program from a folder with blanks, with parameters; a file that does not exist.
  // The macro quits the window as soon as it comes, so the program notes what happened to it.
  HotKey('s');
  const char* spacedLog = "C:\\wdx wincmd\\window.log";
  const std::string shown = "shown WDX Spaced Window\n";
  const std::string quit = shown + "quit WDX Spaced Window\n";
  for (const DWORD start = GetTickCount(); FileText(spacedLog) != quit && GetTickCount() - start < 30000;) Sleep(50);
  const std::string spaced = FileText(spacedLog);
  Check("the program from a folder with blanks starts with its parameters", "yes",
        spaced.rfind(shown, 0) == 0 ? "yes" : "no");
  Check("and \"<WSHUT:\" ends it once its window came", quit, spaced);
  t0 = GetTickCount();
  HotKey('e');
  HWND box = WaitWindow("WdxForm", "Launch Error", 20000);
  const DWORD took = GetTickCount() - t0;
  Check("a file that does not exist is reported", "yes", box ? "yes" : "no");
  if (box) {
    Check("at once, not after the 30-second window wait (" + std::to_string(took) + " ms)", "yes",
          took < 10000 ? "yes" : "no");
    Check("with the shell's reason",
          "\"C:\\No Such Dir\\none.exe\" failed to launch because the specified file was not found. Macro will abort. "
          "(Macro Name: missing)",
          ChildText(box, "Static"));
    HWND ok = FindWindowExA(box, nullptr, "Button", "&Ok");
    if (ok) PostMessageA(ok, BM_CLICK, 0, 0);
    Check("the message is answered", "yes", WaitGone(box, 5000) ? "yes" : "no");
  }

  // Mouse: a click at a point of the window in front, a double-click on a word.
  RECT r;
  GetWindowRect(target, &r);
  POINT origin = {0, 0};
  ClientToScreen(target, &origin);
  HotKey('m');
  Expect("the double-click selects the word", target, "selection", "beta");
  int x = -1, y = -1;
  char kind[8] = {}, button = 0;
  const std::string clicks = FileText(clickLog);
  std::sscanf(clicks.c_str(), "%7s %c %d %d", kind, &button, &x, &y);
  const int wantX = r.left + 50 - origin.x, wantY = r.top + 60 - origin.y;
  // The absolute coordinates (0..65535 over the screen) may come back one pixel short.
  const bool close = std::abs(x - wantX) <= 1 && std::abs(y - wantY) <= 1;
  Check("the left click lands at (50, 60) from the window's corner: client (" + std::to_string(wantX) + ", " +
            std::to_string(wantY) + "), got " + std::string(kind) + " " + std::string(1, button ? button : '-') +
            " (" + std::to_string(x) + ", " + std::to_string(y) + ")",
        "yes", close && std::string(kind) == "down" && button == 'L' ? "yes" : "no");
  Check("the click target saw one click", "1",
        std::to_string(std::count(clicks.begin(), clicks.end(), '\n')));
  return g_failed == 0 ? kOk : kFailed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage("command missing");
  const std::string cmd = argv[1];
  if (cmd == "target") return argc == 4 ? Target(argv[2], argv[3]) : Usage("target TITLE LOGFILE");
  if (cmd == "window") return argc >= 3 ? Window(argc - 2, argv + 2) : Usage("window TITLE...");
  if (argc < 3) return Usage("a window handle is missing");
  if (cmd == "desktop" && argc == 4) return Desktop(ParseHwnd(argv[2]), argv[3]);
  if (cmd == "wait" && argc >= 5) {
    return Wait(argv[2], ParseHwnd(argv[3]), argv[4], argc > 5 ? std::strtoul(argv[5], nullptr, 10) : 10000);
  }
  HWND w = ParseHwnd(argv[2]);
  if (!IsWindow(w)) return kFailed;
  if (cmd == "charpos" && argc == 4) {
    HWND edit = EditOf(w);
    if (!edit) return kFailed;
    const LRESULT at = SendMessageA(edit, EM_POSFROMCHAR, static_cast<WPARAM>(std::atoi(argv[3])), 0);
    POINT p = {static_cast<short>(LOWORD(at)) + 2, static_cast<short>(HIWORD(at)) + 6};
    ClientToScreen(edit, &p);
    std::printf("%ld %ld\n", p.x, p.y);
    return kOk;
  }
  std::string out;
  if (!Read(cmd, w, out)) return kFailed;
  std::printf("%s\n", out.c_str());
  return kOk;
  return Usage("unknown command");
}
