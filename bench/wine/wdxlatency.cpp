// Hot key to first character, measured inside Wine: this program hosts an Edit, presses a key
// combination with keybd_event and polls the Edit's text length with the high-resolution
// counter until the first character is there. Several combinations (one per program under
// test) are pressed in turn, round after round, so they share the same conditions.
//
//   wdxlatency ROUNDS LABEL=COMBO [LABEL=COMBO ...]      COMBO like ctrl+alt+q
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double NowMs() {
  static const double freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / freq;
}

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

void PumpFor(double ms) {
  const double end = NowMs() + ms;
  while (NowMs() < end) {
    Pump();
    Sleep(1);
  }
}

bool ParseCombo(std::string combo, std::vector<BYTE>& keys) {
  for (char& c : combo) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::size_t start = 0;
  for (;;) {
    const std::size_t plus = combo.find('+', start);
    const std::string part = combo.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
    BYTE vk = 0;
    if (part == "CTRL") vk = VK_CONTROL;
    else if (part == "ALT") vk = VK_MENU;
    else if (part == "SHIFT") vk = VK_SHIFT;
    else if (part.size() == 1 && std::isalnum(static_cast<unsigned char>(part[0]))) vk = static_cast<BYTE>(part[0]);
    if (vk == 0) return false;
    keys.push_back(vk);
    if (plus == std::string::npos) return true;
    start = plus + 1;
  }
}

void Key(BYTE vk, bool up) { keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), up ? KEYEVENTF_KEYUP : 0, 0); }

HWND g_edit = nullptr;

LRESULT CALLBACK TargetProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETFOCUS && g_edit) {
    SetFocus(g_edit);
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

struct Subject {
  std::string label;
  std::vector<BYTE> keys;
  std::vector<double> ms;
  int missed = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: wdxlatency ROUNDS LABEL=COMBO [LABEL=COMBO ...]\n");
    return 2;
  }
  const int rounds = std::atoi(argv[1]);
  std::vector<Subject> subjects;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    const std::size_t eq = arg.find('=');
    Subject s;
    if (eq == std::string::npos || !ParseCombo(arg.substr(eq + 1), s.keys)) {
      std::fprintf(stderr, "wdxlatency: bad subject %s\n", argv[i]);
      return 2;
    }
    s.label = arg.substr(0, eq);
    subjects.push_back(s);
  }

  WNDCLASSA wc = {};
  wc.lpfnWndProc = TargetProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "WdxLatencyTarget";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, wc.lpszClassName, "WDX Latency Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 480,
                           200, nullptr, nullptr, wc.hInstance, nullptr);
  g_edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 460, 160, w, nullptr,
                           wc.hInstance, nullptr);
  SetForegroundWindow(w);
  SetFocus(g_edit);
  PumpFor(500);

  for (int r = 0; r < rounds; ++r) {
    for (Subject& s : subjects) {
      SetWindowTextA(g_edit, "");
      if (GetForegroundWindow() != w) SetForegroundWindow(w);
      SetFocus(g_edit);
      PumpFor(150);
      const double t0 = NowMs();
      for (BYTE vk : s.keys) Key(vk, false);
      for (auto it = s.keys.rbegin(); it != s.keys.rend(); ++it) Key(*it, true);
      double got = -1;
      // One message at a time: the character counts when the Edit has it, not when the queue
      // behind it has been emptied.
      while (NowMs() - t0 < 3000) {
        MSG m;
        if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
          TranslateMessage(&m);
          DispatchMessageA(&m);
        }
        if (GetWindowTextLengthA(g_edit) > 0) {
          got = NowMs() - t0;
          break;
        }
      }
      if (got < 0) ++s.missed;
      else s.ms.push_back(got);
      PumpFor(150);  // the rest of the run, its end marker
    }
  }

  for (Subject& s : subjects) {
    std::sort(s.ms.begin(), s.ms.end());
    const double median = s.ms.empty() ? -1 : s.ms.size() % 2 ? s.ms[s.ms.size() / 2]
                                                              : (s.ms[s.ms.size() / 2 - 1] + s.ms[s.ms.size() / 2]) / 2;
    std::printf("%s median_ms=%.2f min_ms=%.2f max_ms=%.2f presses=%zu missed=%d\n", s.label.c_str(), median,
                s.ms.empty() ? -1 : s.ms.front(), s.ms.empty() ? -1 : s.ms.back(), s.ms.size(), s.missed);
  }
  DestroyWindow(w);
  return 0;
}
