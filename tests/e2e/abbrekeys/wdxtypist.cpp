// wdxtypist: the user's side of the Abbrekey and schedule tests under Wine. It writes libraries
// with the shared record code, hosts a window with a multiline Edit of its own, types into it
// with real key events and reads back what is there.
//
//   abbrekeys FILE (NICK ABBREKEY CASE TEXT)...
//        a library of global Abbrekey macros (CASE 1 first letter, 2 exact, 3 any case)
//   schedule FILE LEAD
//        a library of two timed macros: a start-up macro typing "up;" and one that runs once,
//        at the first whole minute at least LEAD seconds from now (local time), typing
//        "once@HH:MM;"; prints HH:MM
//   type ROUNDS TYPED EXPECTED [TYPED EXPECTED ...]
//        opens "WDX Typist" in front; for each pair, ROUNDS times: empties the Edit, types TYPED
//        key by key ("\n" Enter), waits until the Edit holds EXPECTED; prints "ok   ..." or
//        "FAIL ..." per pair, and the times from the last key event to the first Backspace
//        that reached the Edit and to the last character (medians over the rounds)
//   watch SECONDS EXPECTED
//        opens "WDX Typist" in front and waits until the Edit holds EXPECTED; prints "ok   ..."
//        with the seconds it took, or "FAIL ..." with what it holds
//
// Exit code 0 done, 1 a check failed, 2 usage.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "shared/macro_record.h"

namespace {

constexpr int kOk = 0, kFailed = 1, kUsage = 2;

int Usage(const char* why) {
  std::fprintf(stderr, "wdxtypist: %s\n", why);
  return kUsage;
}

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

// ---------------------------------------------------------------------------------------------
// Libraries

bool WriteRecords(const char* file, const std::vector<wdx::TMacroRec>& records) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  for (const wdx::TMacroRec& r : records)
    out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(wdx::kMacroRecSize));
  return static_cast<bool>(out);
}

wdx::TMacroRec Record(const std::string& nick, std::uint16_t code, const std::string& text) {
  wdx::TMacroRec r;
  r.SetNickname(nick);
  r.SetActivationCode(code);
  r.SetScopeKind(wdx::scope::kGlobal);
  r.SetText(text);
  r.SetActive(1);
  r.SetIconName("MAIN");
  r.SetCaseMode(3);
  r.SetRemoval(1);
  return r;
}

int Abbrekeys(int argc, char** argv) {
  if (argc < 2 || (argc - 2) % 4 != 0) return Usage("abbrekeys FILE (NICK ABBREKEY CASE TEXT)...");
  std::vector<wdx::TMacroRec> records;
  for (int i = 2; i < argc; i += 4) {
    wdx::TMacroRec r = Record(argv[i], wdx::activation::kAbbrekey, argv[i + 3]);
    r.SetAbbrekey(argv[i + 1]);
    r.SetCaseMode(static_cast<std::int16_t>(std::atoi(argv[i + 2])));
    records.push_back(r);
  }
  return WriteRecords(argv[1], records) ? kOk : kFailed;
}

int Schedule(int argc, char** argv) {
  if (argc != 3) return Usage("schedule FILE LEAD");
  SYSTEMTIME now;
  GetLocalTime(&now);
  FILETIME ft;
  SystemTimeToFileTime(&now, &ft);
  ULARGE_INTEGER t{};
  t.LowPart = ft.dwLowDateTime;
  t.HighPart = ft.dwHighDateTime;
  // The first whole minute at least LEAD seconds away (file times count 100 ns).
  constexpr unsigned long long kSecond = 10000000ull, kMinute = 60 * kSecond;
  t.QuadPart += static_cast<unsigned long long>(std::atoi(argv[2])) * kSecond;
  t.QuadPart = (t.QuadPart + kMinute - 1) / kMinute * kMinute;
  ft.dwLowDateTime = t.LowPart;
  ft.dwHighDateTime = t.HighPart;
  SYSTEMTIME at;
  FileTimeToSystemTime(&ft, &at);
  char when[8];
  std::snprintf(when, sizeof when, "%02d:%02d", at.wHour, at.wMinute);

  wdx::TMacroRec up = Record("Start-up", wdx::activation::kTimed, "up;");
  up.SetScheduleKind(0);
  wdx::TMacroRec once = Record("Once", wdx::activation::kTimed, std::string("once@") + when + ";");
  once.SetScheduleKind(1);
  once.SetYear(at.wYear);
  once.SetMonth(static_cast<std::uint8_t>(at.wMonth));
  once.SetDay(static_cast<std::uint8_t>(at.wDay));
  // The record's 12-hour clock.
  once.SetPm(at.wHour >= 12 ? 1 : 0);
  once.SetHour(static_cast<std::uint8_t>(at.wHour % 12 == 0 ? 12 : at.wHour % 12));
  once.SetMinute(static_cast<std::uint8_t>(at.wMinute));
  if (!WriteRecords(argv[1], {up, once})) return kFailed;
  std::printf("%s\n", when);
  return kOk;
}

// ---------------------------------------------------------------------------------------------
// The target window

HWND g_edit = nullptr;
WNDPROC g_editProc = nullptr;
double g_firstBackspace = -1;

LRESULT CALLBACK EditProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN && wp == VK_BACK && g_firstBackspace < 0) g_firstBackspace = NowMs();
  return CallWindowProcA(g_editProc, w, msg, wp, lp);
}

LRESULT CALLBACK TargetProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETFOCUS && g_edit) {
    SetFocus(g_edit);
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

void PumpOne() {
  MSG m;
  if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

void PumpFor(double ms) {
  const double end = NowMs() + ms;
  while (NowMs() < end) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    Sleep(1);
  }
}

HWND OpenTarget() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = TargetProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "WdxTypist";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, wc.lpszClassName, "WDX Typist", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 520, 220,
                           nullptr, nullptr, wc.hInstance, nullptr);
  g_edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 500, 180, w, nullptr,
                           wc.hInstance, nullptr);
  g_editProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(g_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
  SetForegroundWindow(w);
  SetFocus(g_edit);
  PumpFor(300);
  return w;
}

std::string EditText() {
  const int n = GetWindowTextLengthA(g_edit);
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  GetWindowTextA(g_edit, s.data(), n + 1);
  s.resize(static_cast<std::size_t>(n));
  return s;
}

void Key(BYTE vk, bool up) { keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), up ? KEYEVENTF_KEYUP : 0, 0); }

// Types one character as a user would, Shift held for capitals and shifted marks.
void TypeChar(char c) {
  const SHORT scan = c == '\n' ? VK_RETURN : VkKeyScanA(c);
  const bool shift = (scan & 0x100) != 0;
  const BYTE vk = static_cast<BYTE>(scan & 0xFF);
  if (shift) Key(VK_SHIFT, false);
  Key(vk, false);
  Key(vk, true);
  if (shift) Key(VK_SHIFT, true);
}

std::string Shown(const std::string& s) {
  std::string out;
  for (const char c : s) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out.push_back(c);
  }
  return out;
}

double Median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

std::string Unescape(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
      out.push_back('\n');
      ++i;
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

int Type(int argc, char** argv) {
  if (argc < 4 || argc % 2 != 0) return Usage("type ROUNDS TYPED EXPECTED [TYPED EXPECTED ...]");
  const int rounds = std::max(1, std::atoi(argv[1]));
  HWND w = OpenTarget();
  int failed = 0;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string typed = Unescape(argv[i]);
    const std::string expected = Unescape(argv[i + 1]);
    std::vector<double> toBackspace, toLast;
    std::string got;
    bool ok = true;
    for (int r = 0; r < rounds && ok; ++r) {
      SetWindowTextA(g_edit, "");
      if (GetForegroundWindow() != w) SetForegroundWindow(w);
      SetFocus(g_edit);
      PumpFor(200);
      // A key at a time, as a quick typist: each reaches the Edit and the hooks before the next.
      for (std::size_t k = 0; k + 1 < typed.size(); ++k) {
        TypeChar(typed[k]);
        PumpFor(25);
      }
      g_firstBackspace = -1;
      const double t0 = NowMs();
      TypeChar(typed.back());
      double last = -1;
      while (NowMs() - t0 < 5000) {
        PumpOne();
        if (EditText() == expected) {
          last = NowMs() - t0;
          break;
        }
      }
      // Whatever else comes (a wrong character after the expected text) is seen too.
      PumpFor(300);
      got = EditText();
      ok = last >= 0 && got == expected;
      if (!ok) break;
      toLast.push_back(last);
      if (g_firstBackspace >= 0) toBackspace.push_back(g_firstBackspace - t0);
    }
    if (ok) {
      std::printf("ok   '%s' becomes '%s'", Shown(typed).c_str(), Shown(expected).c_str());
      if (!toBackspace.empty()) std::printf(" first_backspace_ms=%.2f", Median(toBackspace));
      std::printf(" last_character_ms=%.2f rounds=%d\n", Median(toLast), rounds);
    } else {
      ++failed;
      std::printf("FAIL '%s' should become '%s', the Edit holds '%s'\n", Shown(typed).c_str(), Shown(expected).c_str(),
                  Shown(got).c_str());
    }
    std::fflush(stdout);
  }
  DestroyWindow(w);
  return failed ? kFailed : kOk;
}

int Watch(int argc, char** argv) {
  if (argc != 3) return Usage("watch SECONDS EXPECTED");
  HWND w = OpenTarget();
  const double limit = std::atof(argv[1]) * 1000;
  const std::string expected = Unescape(argv[2]);
  const double t0 = NowMs();
  bool ok = false;
  while (NowMs() - t0 < limit) {
    PumpFor(50);
    // The window stays in front: the timed macros type into whatever is.
    if (GetForegroundWindow() != w) SetForegroundWindow(w);
    if (EditText() == expected) {
      ok = true;
      break;
    }
  }
  PumpFor(500);
  const std::string got = EditText();
  if (ok && got == expected)
    std::printf("ok   the Edit holds '%s' after %.1f s\n", Shown(got).c_str(), (NowMs() - t0) / 1000);
  else
    std::printf("FAIL the Edit should hold '%s', it holds '%s'\n", Shown(expected).c_str(), Shown(got).c_str());
  DestroyWindow(w);
  return ok && got == expected ? kOk : kFailed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage("abbrekeys | schedule | type | watch");
  const std::string command = argv[1];
  if (command == "abbrekeys") return Abbrekeys(argc - 1, argv + 1);
  if (command == "schedule") return Schedule(argc - 1, argv + 1);
  if (command == "type") return Type(argc - 1, argv + 1);
  if (command == "watch") return Watch(argc - 1, argv + 1);
  return Usage("unknown command");
}
