// wdxeditortool: the editor's end-to-end helper under Wine.
//
//   startup EXE ROUNDS   starts EXE (Wendforge.exe) ROUNDS times as the player does ("-RXB /RH" and
//        a window of this tool standing for the player's), each time until its main window shows
//        a filled macro list; prints the times from the start to the window and to the list shown
//        of every round and their medians, then closes the editor and waits for it to end
//
// Exit code 0 done, 1 failed or timed out, 2 usage.
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kOk = 0, kFailed = 1, kUsage = 2;
constexpr DWORD kTimeoutMs = 60000;

double NowMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Messages to the stand-in player window (the editor's notices) are taken and dropped.
void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

struct Found {
  DWORD pid;
  HWND window;
};

BOOL CALLBACK FindEditor(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<Found*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char title[256] = {};
  GetWindowTextA(w, title, sizeof title);
  if (pid == f->pid && IsWindowVisible(w) && std::string(title).find("Wendrix Editor") != std::string::npos) {
    f->window = w;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindList(HWND w, LPARAM lp) {
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpiA(cls, WC_LISTVIEWA) == 0 && IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(lp) = w;
    return FALSE;
  }
  return TRUE;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? -1 : v[v.size() / 2];
}

int Startup(const char* exe, int rounds) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "WdxEditorToolPlayer";
  RegisterClassA(&wc);
  HWND player = CreateWindowA(wc.lpszClassName, "WDX Editor Tool", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, nullptr);
  if (!player) return kFailed;
  std::vector<double> toWindow, toList;
  for (int round = 1; round <= rounds; ++round) {
    std::string line = "\"" + std::string(exe) + "\" -RXB /RH" +
                       std::to_string(static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(player)));
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const double start = NowMs();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
      std::printf("round %d: the editor could not be started (error %lu)\n", round, GetLastError());
      return kFailed;
    }
    Found f{pi.dwProcessId, nullptr};
    double windowAt = -1, listAt = -1;
    int rows = 0;
    while (NowMs() - start < kTimeoutMs) {
      Pump();
      if (!f.window) {
        EnumWindows(&FindEditor, reinterpret_cast<LPARAM>(&f));
        if (f.window) windowAt = NowMs() - start;
      }
      if (f.window) {
        HWND list = nullptr;
        EnumChildWindows(f.window, &FindList, reinterpret_cast<LPARAM>(&list));
        if (list) rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        // Shown: the list has its rows and has painted them (an update of a window of another
        // thread waits for its paint).
        if (rows > 0) {
          RedrawWindow(list, nullptr, nullptr, RDW_UPDATENOW);
          listAt = NowMs() - start;
          break;
        }
      }
      if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    std::printf("round %d: window_ms=%.1f list_shown_ms=%.1f rows=%d\n", round, windowAt, listAt, rows);
    if (f.window) PostMessageA(f.window, WM_CLOSE, 0, 0);
    const double closeStart = NowMs();
    while (WaitForSingleObject(pi.hProcess, 5) == WAIT_TIMEOUT && NowMs() - closeStart < 20000) Pump();
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(pi.hProcess, &code);
    if (code == STILL_ACTIVE) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (listAt < 0) return kFailed;
    toWindow.push_back(windowAt);
    toList.push_back(listAt);
  }
  std::printf("median window_ms=%.1f list_shown_ms=%.1f (%d rounds)\n", Median(toWindow), Median(toList), rounds);
  DestroyWindow(player);
  return kOk;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc == 4 && std::string(argv[1]) == "startup") {
    const int rounds = std::atoi(argv[3]);
    if (rounds < 1) return kUsage;
    const int rc = Startup(argv[2], rounds);
    std::fflush(stdout);
    return rc;
  }
  std::fprintf(stderr, "usage: wdxeditortool startup EXE ROUNDS\n");
  return kUsage;
}
