// wdxtypetest.exe: plays macro texts with the real interpreter and the real key events of the
// Win32 platform, and checks what a program receives.
//
//   wdxtypetest                 own window with a multiline Edit: plays a table of macro
//                               texts into it, reads the Edit's text back after each and
//                               compares it with what the macro means; then measures typing
//                               speed beside a bare keybd_event loop. Exit code: failures.
//   wdxtypetest --type FILE     plays the macro text in FILE (bytes as they are) into the
//                               window in front (Notepad, for instance) and exits.
//
// Results go to stdout in binary mode (an LF stays an LF).
#include <fcntl.h>
#include <io.h>

#include "platform/win32/windows_api.h"  // <windows.h> without the A/W macros that rename our methods

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/virtual_keys.h"
#include "platform/win32/win32_platform.h"
#include "player/interpreter/interpreter.h"
#include "player/interpreter/key_posting.h"
#include "win32_host.h"

namespace {

using wdx::e2e::Win32Host;
using wdx::e2e::ModifiersUp;
using wdx::player::RunState;

HWND g_main = nullptr;
HWND g_edit = nullptr;

LRESULT CALLBACK MainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETFOCUS:
      if (g_edit) SetFocus(g_edit);
      return 0;
    case WM_SIZE:
      if (g_edit) MoveWindow(g_edit, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    default:
      return DefWindowProcA(w, msg, wp, lp);
  }
}

// Pumps until the queue has been empty for quietMs (key events reach the Edit through it).
void Settle(wdx::platform::Win32Platform& p, DWORD quietMs) {
  DWORD lastBusy = GetTickCount();
  const DWORD start = lastBusy;
  while (GetTickCount() - lastBusy < quietMs && GetTickCount() - start < 10000) {
    MSG m;
    if (PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) lastBusy = GetTickCount();
    p.loop.PumpPending();
    Sleep(1);
  }
}

std::string EditText() {
  const int n = GetWindowTextLengthA(g_edit);
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  GetWindowTextA(g_edit, s.data(), n + 1);
  s.resize(static_cast<std::size_t>(n));
  return s;
}

std::string Escape(const std::string& s) {
  std::string out;
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (u < 32 || u > 126) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", u);
      out += buf;
    } else {
      out += c;
    }
  }
  return out;
}

bool ForceForeground(wdx::platform::Win32Platform& p) {
  for (int i = 0; i < 200; ++i) {
    SetForegroundWindow(g_main);
    SetFocus(g_edit);
    p.loop.PumpPending();
    if (GetForegroundWindow() == g_main && GetFocus() == g_edit) return true;
    Sleep(25);
  }
  return false;
}

struct Case {
  const char* name;
  std::string macro;
  std::string expected;
  bool altKeypad;  // typed through Alt + keypad codes, which some Wine versions do not compose
};

// Whether this Wine composes Alt + keypad codes at all: Alt down, keypad 0 6 5, Alt up with bare
// keybd_event calls, no interpreter involved. Only when this fails may an Alt + keypad case's
// text differ; its keys and boxes are checked all the same.
bool AltKeypadComposes(wdx::platform::Win32Platform& p) {
  SetWindowTextA(g_edit, "");
  const BYTE keys[] = {VK_NUMPAD0, VK_NUMPAD6, VK_NUMPAD5};
  keybd_event(VK_MENU, 0x38, 0, 0);
  for (const BYTE vk : keys) {
    keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), 0, 0);
    keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), KEYEVENTF_KEYUP, 0);
  }
  keybd_event(VK_MENU, 0x38, KEYEVENTF_KEYUP, 0);
  Settle(p, 150);
  const bool composes = EditText() == "A";
  SetWindowTextA(g_edit, "");
  return composes;
}

int RunOwnWindow(wdx::platform::Win32Platform& p) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = MainProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "WdxTypeTarget";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&wc);
  g_main = CreateWindowA("WdxTypeTarget", "Wendrix Typing Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 640,
                         400, nullptr, nullptr, wc.hInstance, nullptr);
  g_edit = CreateWindowA("EDIT", "",
                         WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, 0, 0,
                         640, 400, g_main, nullptr, wc.hInstance, nullptr);
  SendMessageA(g_edit, EM_SETLIMITTEXT, 0, 0);
  ShowWindow(g_main, SW_SHOW);
  UpdateWindow(g_main);
  if (!ForceForeground(p)) {
    std::printf("FAIL the typing target could not be brought to the front\n");
    return 1;
  }

  Win32Host host(p);
  wdx::player::Interpreter interpreter(host);

  const Case cases[] = {
      {"upper case and shifted punctuation", "Hello, World! 1+2=3 \"ok\"? #5 & :-] $_~|", "Hello, World! 1+2=3 \"ok\"? #5 & :-] $_~|",
       false},
      {"CR LF and <ENTER> are Enter", "one\r\ntwo<ENTER>three", "one\r\ntwo\r\nthree", false},
      {"Tab", "a<TAB>b\tc", "a\tb\tc", false},
      {"Backspace", "abcd<BACKSPACE><BACKSPACE>X", "abX", false},
      {"Shift for one key and held Shift", "<SHIFT>x<SHFD>yz<SHFU>w", "XYZw", false},
      {"arrows and Delete", "abc<LEFT ARROW><LEFT ARROW><DELETE>Q<END>!", "aQc!", false},
      {"select to line start and replace", "first<ENTER>second<TEST>2nd", "first\r\n2nd", false},
      {"variables", "%T1% = %N2%, %D3%", "Var = 42, 2.5000", false},
      {"tags in lower case and wrong width are text", "<enter><ALT:65>", "<enter><ALT:65>", false},
      {"remarks and disabled commands", "<REM:not typed>ok<DIS:<TAB>x\x02!", "ok!", false},
      {"a held Ctrl does not outlive the run", "end<CTRLD>", "end", false},
      {"Alt + keypad code", "<ALT:065><ALT4:0066>", "AB", true},
      {"character above 127 by Alt + keypad", "caf\xE9", "caf\xE9", true},
  };

  int failures = 0;
  int lacking = 0;
  // Wine 8 under Xvfb finds no key for some characters of the US layout (VkKeyScan gives -1
  // for the parentheses), so a macro cannot type them there; such characters are left out.
  for (const char c : std::string("()")) {
    if (VkKeyScanA(c) == -1) std::printf("NOTE this Wine's keyboard layout has no key for '%c'\n", c);
  }
  const bool altComposes = ForceForeground(p) && AltKeypadComposes(p);
  if (!altComposes) std::printf("NOTE a bare Alt + keypad probe shows that this Wine does not compose Alt + keypad codes\n");
  for (const Case& c : cases) {
    if (!ForceForeground(p)) {
      std::printf("FAIL %s: target lost the focus\n", c.name);
      ++failures;
      continue;
    }
    SetWindowTextA(g_edit, "");
    host.state = RunState{};
    host.state.vars.text[1] = "Var";
    host.state.vars.integer[2] = 42;
    host.state.vars.decimal[3] = 2.5;
    interpreter.DoMacro(c.macro, 1, 1, 1, false, false, 0);
    Settle(p, 150);
    const std::string got = EditText();
    const bool textOk = got == c.expected;
    const bool keysOk = ModifiersUp();
    const bool textExcused = !textOk && c.altKeypad && !altComposes;
    if ((textOk || textExcused) && keysOk && host.boxes.empty()) {
      if (textExcused) {
        ++lacking;
        std::printf("NOTE %s: typed \"%s\" (this Wine does not compose Alt + keypad codes; the native key-event "
                    "test covers the events)\n",
                    c.name, Escape(got).c_str());
      }
      std::printf("ok   %s: %s\n", c.name, textExcused ? "no modifier left down, no message box" : "exact text");
    } else {
      ++failures;
      std::printf("FAIL %s: expected \"%s\", got \"%s\"%s%s\n", c.name, Escape(c.expected).c_str(),
                  Escape(got).c_str(), keysOk ? "" : ", a modifier is still down",
                  host.boxes.empty() ? "" : ", a message box was shown");
    }
    host.boxes.clear();
  }

  // Typing speed: the interpreter against a bare keybd_event loop, same text, same target.
  std::string text;
  const char* words[] = {"The ", "quick ", "Brown ", "fox, ", "jumps ", "over ", "THE ", "lazy ", "dog! "};
  for (int i = 0; text.size() < 600; ++i) text += words[i % 9];
  struct Run {
    const char* who;
    double seconds;
    std::string got;
  } runs[2];
  for (int r = 0; r < 2 && ForceForeground(p); ++r) {
    SetWindowTextA(g_edit, "");
    host.state = RunState{};
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    if (r == 0) {
      interpreter.DoMacro(text, 1, 1, 1, false, false, 0);
    } else {
      for (const char ch : text) {
        const SHORT k = VkKeyScanA(ch);
        const bool shift = (k >> 8) & 1;
        if (shift) keybd_event(VK_SHIFT, static_cast<BYTE>(MapVirtualKeyA(VK_SHIFT, 0)), 0, 0);
        keybd_event(static_cast<BYTE>(k), static_cast<BYTE>(MapVirtualKeyA(k & 0xFF, 0)), 0, 0);
        keybd_event(static_cast<BYTE>(k), static_cast<BYTE>(MapVirtualKeyA(k & 0xFF, 0)), KEYEVENTF_KEYUP, 0);
        if (shift) keybd_event(VK_SHIFT, static_cast<BYTE>(MapVirtualKeyA(VK_SHIFT, 0)), KEYEVENTF_KEYUP, 0);
        p.loop.PumpPending();
      }
    }
    Settle(p, 200);
    QueryPerformanceCounter(&t1);
    runs[r] = {r == 0 ? "interpreter" : "bare keybd_event loop",
               static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart), EditText()};
  }
  for (const Run& run : runs) {
    // Count lost and reordered characters by comparing position by position.
    std::size_t same = 0;
    while (same < run.got.size() && same < text.size() && run.got[same] == text[same]) ++same;
    const bool ok = run.got == text;
    std::printf("%s speed: %s typed %zu characters in %.2f s (%.0f per second, settling included), %s\n",
                ok ? "ok  " : "FAIL", run.who, text.size(), run.seconds, text.size() / run.seconds,
                ok ? "none lost or reordered" : ("first difference at " + std::to_string(same) + ", received " +
                                                 std::to_string(run.got.size()))
                                                    .c_str());
    if (!ok) ++failures;
  }

  DestroyWindow(g_main);
  std::printf("%d failed, %d not supported by Wine\n", failures, lacking);
  return failures;
}

int TypeFile(wdx::platform::Win32Platform& p, const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::printf("cannot read %s\n", path);
    return 2;
  }
  const std::string macro((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Win32Host host(p);
  wdx::player::Interpreter interpreter(host);
  interpreter.DoMacro(macro, 1, 1, 1, false, false, 0);
  Settle(p, 300);
  return ModifiersUp() ? 0 : 3;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  wdx::platform::Win32Platform platform;
  if (argc == 3 && std::string(argv[1]) == "--type") return TypeFile(platform, argv[2]);
  return RunOwnWindow(platform);
}
