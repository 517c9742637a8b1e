// wdxacttool: the end-to-end helper of the activation test (window titles, mouse clicks, menus).
//
//   mklib FILE SPECFILE   writes a macro library, one macro per line of SPECFILE:
//        NICK|CODE|KIND|MATCH|SCOPE|TEXT|EXTRAS   where EXTRAS are blank-separated
//        area=TOP,LEFT,BOTTOM,RIGHT,BUTTON,AREAKIND   items=N,N,..   opts=XYZ (a blank is added)
//        perrow=N   vertical   inactive
//   move HWND X Y W H     puts the window at that place and size
//   rect HWND             the window's screen rectangle: LEFT TOP RIGHT BOTTOM
//   client HWND           the screen position of its client area's top left: X Y
//   click X Y BUTTON      a real click (left, middle or right) at that screen point
//   dblclick X Y          a real double click of the left button
//   bench-title TRIGGER OTHER N
//        two windows (handles) with an Edit each: N times OTHER comes to the front, then
//        TRIGGER, and the time until TRIGGER's Edit holds a character is measured; prints every
//        time, then min, median and max
//
// Exit code 0 done, 1 failed or timed out, 2 usage.
#include <windows.h>

#include <algorithm>
#include <chrono>
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
  std::fprintf(stderr, "wdxacttool: %s\n", why);
  return kUsage;
}

double NowMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

HWND ParseHwnd(const char* s) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::strtoul(s, nullptr, 0))); }

std::vector<std::string> Split(const std::string& s, char by) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(s);
  while (std::getline(in, part, by)) parts.push_back(part);
  if (!s.empty() && s.back() == by) parts.emplace_back();
  return parts;
}

// ---------------------------------------------------------------------------------------------
// mklib

bool ApplyExtra(wdx::TMacroRec& r, const std::string& extra) {
  const std::size_t eq = extra.find('=');
  const std::string key = extra.substr(0, eq);
  const std::string value = eq == std::string::npos ? std::string() : extra.substr(eq + 1);
  if (key == "area") {
    const std::vector<std::string> v = Split(value, ',');
    if (v.size() != 6) return false;
    r.SetMouseTop(static_cast<std::int16_t>(std::atoi(v[0].c_str())));
    r.SetMouseLeft(static_cast<std::int16_t>(std::atoi(v[1].c_str())));
    r.SetMouseBottom(static_cast<std::int16_t>(std::atoi(v[2].c_str())));
    r.SetMouseRight(static_cast<std::int16_t>(std::atoi(v[3].c_str())));
    r.SetMouseButton(static_cast<std::uint8_t>(std::atoi(v[4].c_str())));
    r.SetWindowPartFlag(static_cast<std::uint8_t>(std::atoi(v[5].c_str())));
  } else if (key == "items") {
    const std::vector<std::string> v = Split(value, ',');
    r.SetMenuItemCount(static_cast<std::int16_t>(v.size()));
    for (std::size_t i = 0; i < v.size(); ++i)
      r.SetMenuItem(static_cast<int>(i) + 1, static_cast<std::int16_t>(std::atoi(v[i].c_str())));
  } else if (key == "opts") {
    r.SetMenuOptions(value + " ");
  } else if (key == "perrow") {
    r.SetMenuIconsPerRow(static_cast<std::uint16_t>(std::atoi(value.c_str())));
  } else if (key == "vertical") {
    r.SetMenuVertical(1);
  } else if (key == "inactive") {
    r.SetActive(0);
  } else {
    return false;
  }
  return true;
}

int MakeLibrary(int argc, char** argv) {
  if (argc != 3) return Usage("mklib FILE SPECFILE");
  std::ifstream spec(argv[2]);
  if (!spec) return kFailed;
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  if (!out) return kFailed;
  std::string line;
  while (std::getline(spec, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> f = Split(line, '|');
    if (f.size() < 6) return Usage(("bad line: " + line).c_str());
    wdx::TMacroRec r;
    r.SetNickname(f[0]);
    r.SetActivationCode(static_cast<std::uint16_t>(std::atoi(f[1].c_str())));
    r.SetScopeKind(static_cast<std::int16_t>(std::atoi(f[2].c_str())));
    r.SetWindowMatch(static_cast<std::uint8_t>(std::atoi(f[3].c_str())));
    r.SetScopeText(f[4]);
    r.SetText(f[5]);
    r.SetActive(1);
    r.SetIconName("MAIN");
    r.SetCaseMode(3);
    r.SetRemoval(1);
    if (f.size() > 6) {
      for (const std::string& extra : Split(f[6], ' '))
        if (!extra.empty() && !ApplyExtra(r, extra)) return Usage(("bad extra: " + extra).c_str());
    }
    out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(wdx::kMacroRecSize));
  }
  return out ? kOk : kFailed;
}

// ---------------------------------------------------------------------------------------------
// Looking and clicking

int Rect(int argc, char** argv) {
  if (argc != 2) return Usage("rect HWND");
  RECT r;
  if (!GetWindowRect(ParseHwnd(argv[1]), &r)) return kFailed;
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
  return kOk;
}

int Move(int argc, char** argv) {
  if (argc != 6) return Usage("move HWND X Y W H");
  return SetWindowPos(ParseHwnd(argv[1]), nullptr, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                      std::atoi(argv[5]), SWP_NOZORDER | SWP_NOACTIVATE)
             ? kOk
             : kFailed;
}

int Client(int argc, char** argv) {
  if (argc != 2) return Usage("client HWND");
  POINT p{0, 0};
  if (!ClientToScreen(ParseHwnd(argv[1]), &p)) return kFailed;
  std::printf("%ld %ld\n", p.x, p.y);
  return kOk;
}

void SendButton(DWORD flags) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof in);
}

void MoveTo(int x, int y) {
  // Absolute coordinates run 0..65535 over the primary screen.
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((x * 65536 + GetSystemMetrics(SM_CXSCREEN) / 2) / GetSystemMetrics(SM_CXSCREEN));
  in.mi.dy = static_cast<LONG>((y * 65536 + GetSystemMetrics(SM_CYSCREEN) / 2) / GetSystemMetrics(SM_CYSCREEN));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

int Click(int argc, char** argv, bool twice) {
  if (argc != (twice ? 3 : 4)) return Usage(twice ? "dblclick X Y" : "click X Y left|middle|right");
  const std::string button = twice ? "left" : argv[3];
  DWORD down = 0, up = 0;
  if (button == "left") down = MOUSEEVENTF_LEFTDOWN, up = MOUSEEVENTF_LEFTUP;
  if (button == "middle") down = MOUSEEVENTF_MIDDLEDOWN, up = MOUSEEVENTF_MIDDLEUP;
  if (button == "right") down = MOUSEEVENTF_RIGHTDOWN, up = MOUSEEVENTF_RIGHTUP;
  if (!down) return Usage("the button is left, middle or right");
  MoveTo(std::atoi(argv[1]), std::atoi(argv[2]));
  Sleep(50);
  for (int i = 0; i < (twice ? 2 : 1); ++i) {
    SendButton(down);
    Sleep(20);
    SendButton(up);
    Sleep(20);
  }
  return kOk;
}

// ---------------------------------------------------------------------------------------------
// bench-title

int BenchTitle(int argc, char** argv) {
  if (argc != 4) return Usage("bench-title TRIGGER OTHER N");
  HWND trigger = ParseHwnd(argv[1]);
  HWND other = ParseHwnd(argv[2]);
  const int n = std::atoi(argv[3]);
  HWND edit = FindWindowExA(trigger, nullptr, "EDIT", nullptr);
  if (!edit || !IsWindow(other) || n < 1) return kFailed;
  std::vector<double> times;
  for (int i = 0; i < n; ++i) {
    SetForegroundWindow(other);
    Sleep(400);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    const double t0 = NowMs();
    SetForegroundWindow(trigger);
    double t = -1;
    while (NowMs() - t0 < 5000) {
      if (SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0) > 0) {
        t = NowMs() - t0;
        break;
      }
      Sleep(1);
    }
    if (t < 0) {
      std::printf("run %d: no character within 5 s\n", i + 1);
      return kFailed;
    }
    times.push_back(t);
    std::printf("run %d: %.1f ms\n", i + 1, t);
    // The rest of the macro types before the next change.
    Sleep(300);
  }
  std::sort(times.begin(), times.end());
  std::printf("foreground_to_first_char_ms min=%.1f median=%.1f max=%.1f runs=%d\n", times.front(),
              times[times.size() / 2], times.back(), n);
  return kOk;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage("command missing");
  const std::string cmd = argv[1];
  if (cmd == "mklib") return MakeLibrary(argc - 1, argv + 1);
  if (cmd == "move") return Move(argc - 1, argv + 1);
  if (cmd == "rect") return Rect(argc - 1, argv + 1);
  if (cmd == "client") return Client(argc - 1, argv + 1);
  if (cmd == "click") return Click(argc - 1, argv + 1, false);
  if (cmd == "dblclick") return Click(argc - 1, argv + 1, true);
  if (cmd == "bench-title") return BenchTitle(argc - 1, argv + 1);
  return Usage("unknown command");
}
