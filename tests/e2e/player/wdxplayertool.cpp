// wdxplayertool: the player's end-to-end helper under Wine.
//
//   mklib FILE NICK CODE KIND MATCH SCOPE TEXT [NICK CODE KIND MATCH SCOPE TEXT ...]
//        writes a macro library with these macros (TEXT "@path" reads the text from a file)
//   objects                 one line per named object of the player: NAME 1 (exists) or 0
//   edit-target TITLE [--slow MS]  a window with a multiline Edit, in front, until it is closed;
//        with --slow it sleeps MS before each key message it takes from its queue, the way a
//        busy program leaves typed keys waiting in its queue
//   bench HWND COMBO N [--child CLASS] [--timeout MS]
//        brings HWND to the front, presses COMBO (e.g. ctrl+alt+t) and follows the text length of
//        the window (or its CLASS child) until it holds N characters; prints the time to the
//        first character and to the last, and the rate
//   bare HWND FILE [--child CLASS]  types the file's text with a plain keybd_event loop into HWND
//        and measures the same way, for comparison
//   startup EXE COMBO [ARGS]  starts EXE, presses COMBO into an Edit of its own every 25 ms until
//        text arrives; prints the times to the player's window, to its CBT block and to the
//        first character served, then closes the player (UM_CONTROL 30)
//   boxtext HWND            the text of the message box HWND (its message, not its caption)
//
// Exit code 0 done, 1 failed or timed out, 2 usage.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "shared/macro_record.h"

namespace {

constexpr int kOk = 0, kFailed = 1, kUsage = 2;

int Usage(const char* why) {
  std::fprintf(stderr, "wdxplayertool: %s\n", why);
  return kUsage;
}

double NowMs() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

// ---------------------------------------------------------------------------------------------
// mklib

std::string TextArg(const std::string& a) {
  if (a.empty() || a[0] != '@') return a;
  std::ifstream f(a.substr(1), std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

int MakeLibrary(int argc, char** argv) {
  if (argc < 2 || (argc - 2) % 6 != 0) return Usage("mklib FILE (NICK CODE KIND MATCH SCOPE TEXT)...");
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  if (!out) return kFailed;
  for (int i = 2; i < argc; i += 6) {
    wdx::TMacroRec r;
    r.SetNickname(argv[i]);
    r.SetActivationCode(static_cast<std::uint16_t>(std::atoi(argv[i + 1])));
    r.SetScopeKind(static_cast<std::int16_t>(std::atoi(argv[i + 2])));
    r.SetWindowMatch(static_cast<std::uint8_t>(std::atoi(argv[i + 3])));
    r.SetScopeText(argv[i + 4]);
    r.SetText(TextArg(argv[i + 5]));
    r.SetActive(1);
    r.SetIconName("MAIN");
    r.SetCaseMode(3);
    r.SetRemoval(1);
    out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(wdx::kMacroRecSize));
  }
  return out ? kOk : kFailed;
}

// ---------------------------------------------------------------------------------------------
// objects

int Objects() {
  const char* mappings[] = {"WDXEX321Z", "WDBA1KGR", "WDTT1KGR", "WDKR1KGR"};
  const char* mutexes[] = {"WD88aveR", "WDKZaveR", "WDQJaveR"};
  for (const char* name : mappings) {
    HANDLE h = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
    std::printf("%s %d\n", name, h ? 1 : 0);
    if (h) CloseHandle(h);
  }
  for (const char* name : mutexes) {
    HANDLE h = OpenMutexA(SYNCHRONIZE, FALSE, name);
    std::printf("%s %d\n", name, h ? 1 : 0);
    if (h) CloseHandle(h);
  }
  return kOk;
}

// ---------------------------------------------------------------------------------------------
// Keys

struct NamedKey {
  const char* name;
  BYTE vk;
};
const NamedKey kNames[] = {{"CTRL", VK_CONTROL}, {"ALT", VK_MENU}, {"SHIFT", VK_SHIFT}, {"WIN", VK_LWIN},
                           {"ENTER", VK_RETURN}, {"SPACE", VK_SPACE}, {"F1", VK_F1},     {"F12", VK_F12}};

bool ParseCombo(const std::string& combo, std::vector<BYTE>& keys) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t plus = combo.find('+', start);
    std::string part = combo.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
    for (char& c : part) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    BYTE vk = 0;
    for (const NamedKey& k : kNames)
      if (part == k.name) vk = k.vk;
    if (vk == 0 && part.size() == 1 && std::isalnum(static_cast<unsigned char>(part[0]))) vk = static_cast<BYTE>(part[0]);
    if (vk == 0) return false;
    keys.push_back(vk);
    if (plus == std::string::npos) return true;
    start = plus + 1;
  }
}

void Key(BYTE vk, bool up) {
  keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), up ? KEYEVENTF_KEYUP : 0, 0);
}

void Press(const std::vector<BYTE>& keys) {
  for (BYTE vk : keys) Key(vk, false);
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) Key(*it, true);
}

// ---------------------------------------------------------------------------------------------
// Edit target

HWND g_edit = nullptr;

LRESULT CALLBACK TargetProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (g_edit) MoveWindow(g_edit, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (g_edit) SetFocus(g_edit);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(w, msg, wp, lp);
  }
}

HWND MakeTarget(const char* title) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = TargetProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "WdxEditTarget";
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, "WdxEditTarget", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 640, 400, nullptr,
                           nullptr, wc.hInstance, nullptr);
  g_edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 640,
                           400, w, nullptr, wc.hInstance, nullptr);
  SendMessageA(g_edit, EM_SETLIMITTEXT, 0, 0);
  RECT rc;
  GetClientRect(w, &rc);
  MoveWindow(g_edit, 0, 0, rc.right, rc.bottom, TRUE);
  SetForegroundWindow(w);
  SetFocus(g_edit);
  return w;
}

int EditTarget(const char* title, DWORD slowMs) {
  MakeTarget(title);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    if (slowMs > 0 && (m.message == WM_KEYDOWN || m.message == WM_KEYUP)) Sleep(slowMs);
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return kOk;
}

// ---------------------------------------------------------------------------------------------
// bench

HWND ChildOf(HWND w, const char* cls) {
  if (!cls) return w;
  return FindWindowExA(w, nullptr, cls, nullptr);
}

int Bench(int argc, char** argv) {
  if (argc < 4) return Usage("bench HWND COMBO N [--child CLASS] [--timeout MS]");
  HWND w = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::strtoul(argv[1], nullptr, 0)));
  std::vector<BYTE> keys;
  if (!ParseCombo(argv[2], keys)) return Usage("unknown key combination");
  const long n = std::atol(argv[3]);
  const char* child = nullptr;
  double timeout = 120000;
  for (int i = 4; i + 1 < argc; i += 2) {
    if (std::string(argv[i]) == "--child") child = argv[i + 1];
    if (std::string(argv[i]) == "--timeout") timeout = std::atof(argv[i + 1]);
  }
  HWND target = ChildOf(w, child);
  if (!target) return kFailed;
  SetForegroundWindow(w);
  Sleep(300);
  const double t0 = NowMs();
  Press(keys);
  double first = -1, last = -1;
  long seen = 0;
  while (NowMs() - t0 < timeout) {
    const long len = static_cast<long>(SendMessageA(target, WM_GETTEXTLENGTH, 0, 0));
    if (len > 0 && first < 0) first = NowMs() - t0;
    if (len != seen) {
      seen = len;
      last = NowMs() - t0;
    }
    if (len >= n) break;
    // Nothing more arrives for a few seconds: the run is over (or stuck).
    if (first >= 0 && NowMs() - t0 - last > 5000) break;
    Sleep(1);
  }
  std::printf("first_ms=%.1f total_ms=%.1f chars=%ld cps=%.0f\n", first, last, seen,
              last > first && first >= 0 ? (seen - 1) * 1000.0 / (last - first) : 0.0);
  return seen >= n ? kOk : kFailed;
}

// bare: the same text typed by a plain keybd_event loop of this program, for comparison
int Bare(int argc, char** argv) {
  if (argc < 3) return Usage("bare HWND FILE [--child CLASS]");
  HWND w = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::strtoul(argv[1], nullptr, 0)));
  const std::string text = TextArg(std::string("@") + argv[2]);
  HWND target = ChildOf(w, argc > 4 ? argv[4] : nullptr);
  if (!target) return kFailed;
  SetForegroundWindow(w);
  Sleep(300);
  const double t0 = NowMs();
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    // CR LF is one Enter, as a macro types it.
    if (ch == '\n' && i > 0 && text[i - 1] == '\r') continue;
    const SHORT k = VkKeyScanA(ch);
    const bool shift = (k >> 8) & 1;
    if (shift) Key(VK_SHIFT, false);
    Key(static_cast<BYTE>(k), false);
    Key(static_cast<BYTE>(k), true);
    if (shift) Key(VK_SHIFT, true);
  }
  const double sent = NowMs() - t0;
  double last = sent;
  long seen = 0;
  while (NowMs() - t0 < 180000) {
    const long len = static_cast<long>(SendMessageA(target, WM_GETTEXTLENGTH, 0, 0));
    if (len != seen) {
      seen = len;
      last = NowMs() - t0;
    }
    if (len >= static_cast<long>(text.size()) || NowMs() - t0 - last > 5000) break;
    Sleep(1);
  }
  std::printf("sent_ms=%.1f total_ms=%.1f chars=%ld cps=%.0f\n", sent, last, seen,
              last > 0 ? seen * 1000.0 / last : 0.0);
  return seen >= static_cast<long>(text.size()) ? kOk : kFailed;
}

// ---------------------------------------------------------------------------------------------
// startup

int Startup(int argc, char** argv) {
  if (argc < 3) return Usage("startup EXE COMBO [ARGS]");
  std::vector<BYTE> keys;
  if (!ParseCombo(argv[2], keys)) return Usage("unknown key combination");
  std::string cmd = std::string("\"") + argv[1] + "\"";
  for (int i = 3; i < argc; ++i) cmd += std::string(" ") + argv[i];
  HWND target = MakeTarget("WDX Startup Target");
  Pump();
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::vector<char> line(cmd.begin(), cmd.end());
  line.push_back('\0');
  const double t0 = NowMs();
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return kFailed;
  double tWindow = -1, tCbt = -1, tServed = -1, lastPress = -1000;
  while (NowMs() - t0 < 60000 && tServed < 0) {
    if (tWindow < 0 && FindWindowA("TMainWin", "Wendrix Player")) tWindow = NowMs() - t0;
    if (tCbt < 0) {
      if (HANDLE h = OpenFileMappingA(FILE_MAP_READ, FALSE, "WDKR1KGR")) {
        tCbt = NowMs() - t0;
        CloseHandle(h);
      }
    }
    if (tWindow >= 0 && NowMs() - lastPress > 25) {
      SetForegroundWindow(target);
      Press(keys);
      lastPress = NowMs();
    }
    Pump();
    if (GetWindowTextLengthA(g_edit) > 0) tServed = NowMs() - t0;
    Sleep(1);
  }
  std::printf("window_ms=%.1f cbt_block_ms=%.1f hot_key_served_ms=%.1f\n", tWindow, tCbt, tServed);
  std::fflush(stdout);
  // The player is closed again the way the editor closes it.
  if (HWND player = FindWindowA("TMainWin", "Wendrix Player")) PostMessageA(player, WM_USER + 11, 30, 0);
  if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  DestroyWindow(target);
  return tServed >= 0 ? kOk : kFailed;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// boxtext: a message box keeps its message in the static control 0xFFFF (the first static
// holds its icon).

int BoxText(int argc, char** argv) {
  if (argc < 2) return Usage("boxtext HWND");
  HWND box = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(argv[1], nullptr, 0)));
  if (!IsWindow(box)) return 1;
  char text[2048] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  std::fputs(text, stdout);
  return 0;
}

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 2) return Usage("no command");
  const std::string cmd = argv[1];
  if (cmd == "mklib") return MakeLibrary(argc - 1, argv + 1);
  if (cmd == "objects") return Objects();
  if (cmd == "edit-target") {
    const DWORD slow = argc > 4 && std::string(argv[3]) == "--slow" ? std::strtoul(argv[4], nullptr, 10) : 0;
    return EditTarget(argc > 2 ? argv[2] : "WDX Edit Target", slow);
  }
  if (cmd == "bench") return Bench(argc - 1, argv + 1);
  if (cmd == "startup") return Startup(argc - 1, argv + 1);
  if (cmd == "bare") return Bare(argc - 1, argv + 1);
  if (cmd == "boxtext") return BoxText(argc - 1, argv + 1);
  return Usage("unknown command");
}
