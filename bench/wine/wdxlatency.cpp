// Hot key to first character, measured inside Wine: this program hosts an Edit, presses a key
// combination with keybd_event and polls the Edit's text length with the high-resolution
// counter until the first character is there. Several programs under test are measured in
// turn, round after round, so they share the same conditions.
//
//   wdxlatency keys ROUNDS LABEL=COMBO [LABEL=COMBO ...]
//        each round presses every COMBO (like ctrl+alt+q) once into the Edit
//   wdxlatency startup RUNS LABEL COMBO TITLE EXE [LABEL COMBO TITLE EXE ...]
//        each run starts every EXE in turn, presses its COMBO every 25 ms from the moment a
//        window titled TITLE exists until the first character arrives, and closes it again
//        (WM_CLOSE to that window)
//
// One line per program: LABEL median_ms=... min_ms=... max_ms=..., the number of presses or
// starts measured and missed, and every time measured (all_ms=, for pooling several runs).
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

void Press(const std::vector<BYTE>& keys) {
  for (BYTE vk : keys) Key(vk, false);
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) Key(*it, true);
}

HWND g_window = nullptr;
HWND g_edit = nullptr;

LRESULT CALLBACK TargetProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETFOCUS && g_edit) {
    SetFocus(g_edit);
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

void MakeTarget() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = TargetProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "WdxLatencyTarget";
  RegisterClassA(&wc);
  g_window = CreateWindowExA(0, wc.lpszClassName, "WDX Latency Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 480,
                             200, nullptr, nullptr, wc.hInstance, nullptr);
  g_edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 460, 160, g_window, nullptr,
                           wc.hInstance, nullptr);
  SetForegroundWindow(g_window);
  SetFocus(g_edit);
  PumpFor(500);
}

// An empty Edit with the focus, in front, and nothing left in the queue.
void ReadyTarget() {
  SetWindowTextA(g_edit, "");
  if (GetForegroundWindow() != g_window) SetForegroundWindow(g_window);
  SetFocus(g_edit);
}

struct Subject {
  std::string label;
  std::vector<BYTE> keys;
  std::string title, exe;  // startup only
  std::vector<double> ms;
  int missed = 0;
};

void Report(std::vector<Subject>& subjects, const char* counted) {
  for (Subject& s : subjects) {
    std::sort(s.ms.begin(), s.ms.end());
    const std::size_t n = s.ms.size();
    const double median = n == 0 ? -1 : n % 2 ? s.ms[n / 2] : (s.ms[n / 2 - 1] + s.ms[n / 2]) / 2;
    std::string all;
    for (const double ms : s.ms) all += (all.empty() ? "" : ",") + std::to_string(ms);
    std::printf("%s median_ms=%.2f min_ms=%.2f max_ms=%.2f %s=%zu missed=%d all_ms=%s\n", s.label.c_str(), median,
                n ? s.ms.front() : -1, n ? s.ms.back() : -1, counted, n, s.missed, all.c_str());
  }
}

int Keys(int rounds, std::vector<Subject>& subjects) {
  MakeTarget();
  for (int r = 0; r < rounds; ++r) {
    for (Subject& s : subjects) {
      ReadyTarget();
      PumpFor(150);
      const double t0 = NowMs();
      Press(s.keys);
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
  Report(subjects, "presses");
  DestroyWindow(g_window);
  return 0;
}

// Start to the first hot key served, from the moment the process is asked for. The combination
// is pressed only once the program's window exists: before, it would reach the Edit itself.
double StartOnce(const Subject& s) {
  std::string cmd = "\"" + s.exe + "\"";
  std::vector<char> line(cmd.begin(), cmd.end());
  line.push_back('\0');
  ReadyTarget();
  PumpFor(300);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  const double t0 = NowMs();
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  double served = -1, lastPress = -1000;
  HWND window = nullptr;
  while (NowMs() - t0 < 30000) {
    if (!window) window = FindWindowA(nullptr, s.title.c_str());
    if (window && NowMs() - lastPress > 25) {
      if (GetForegroundWindow() != g_window) SetForegroundWindow(g_window);
      Press(s.keys);
      lastPress = NowMs();
    }
    Pump();
    if (GetWindowTextLengthA(g_edit) > 0) {
      served = NowMs() - t0;
      break;
    }
    Sleep(1);
  }
  if (!window) window = FindWindowA(nullptr, s.title.c_str());
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  // The next start must not meet this one (the player lets only one instance run).
  if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  PumpFor(500);  // the rest of the last run the presses started
  return served;
}

int Startup(int runs, std::vector<Subject>& subjects) {
  MakeTarget();
  for (int r = 0; r < runs; ++r) {
    for (Subject& s : subjects) {
      const double served = StartOnce(s);
      if (served < 0) ++s.missed;
      else s.ms.push_back(served);
    }
  }
  Report(subjects, "starts");
  DestroyWindow(g_window);
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: wdxlatency keys ROUNDS LABEL=COMBO [LABEL=COMBO ...]\n"
               "       wdxlatency startup RUNS LABEL COMBO TITLE EXE [LABEL COMBO TITLE EXE ...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Usage();
  const std::string mode = argv[1];
  const int count = std::atoi(argv[2]);
  std::vector<Subject> subjects;
  if (mode == "keys") {
    for (int i = 3; i < argc; ++i) {
      const std::string arg = argv[i];
      const std::size_t eq = arg.find('=');
      Subject s;
      if (eq == std::string::npos || !ParseCombo(arg.substr(eq + 1), s.keys)) return Usage();
      s.label = arg.substr(0, eq);
      subjects.push_back(s);
    }
    return Keys(count, subjects);
  }
  if (mode == "startup") {
    if ((argc - 3) % 4 != 0) return Usage();
    for (int i = 3; i < argc; i += 4) {
      Subject s;
      s.label = argv[i];
      if (!ParseCombo(argv[i + 1], s.keys)) return Usage();
      s.title = argv[i + 2];
      s.exe = argv[i + 3];
      subjects.push_back(s);
    }
    return Startup(count, subjects);
  }
  return Usage();
}
