// wdxtimingtest.exe: the interpreter's timing, date, variable and pause commands on the real
// Win32 platform.
//
//   wdxtimingtest --services     blocking waits on the real clock, a date tag against the
//                                local date, and the text-variable operations that reach the
//                                clipboard, files, INI files and the environment, each read
//                                back through Windows' own functions. Prints "ok   ..." and
//                                "FAIL ..." lines; exit code: failures.
//   wdxtimingtest --play FILE    plays the macro text in FILE (bytes as they are) into the
//                                window in front, with T1 = "Var" and T2 = a pause whose Abort
//                                ends the variable's level; pause windows show through the
//                                form toolkit's Win32 runner. Exit code 0 when no message box
//                                was shown and no modifier is left down.
//   wdxtimingtest --front-after-keys  types "abcdefghij" into the window in front and at once
//                                brings a window of its own to the front, the way a run-time
//                                window comes forward right after typed text; then waits 3 s.
//
// Results go to stdout in binary mode.
#include <fcntl.h>
#include <io.h>

#include "platform/win32/windows_api.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "forms/win32/win32_runner.h"
#include "player/interpreter/interpreter.h"
#include "win32_host.h"

namespace {

using wdx::e2e::Win32Host;
using wdx::e2e::ModifiersUp;

int g_failures = 0;

void Check(bool ok, const std::string& what, const std::string& detail = {}) {
  if (!ok) ++g_failures;
  std::printf("%s %s%s%s\n", ok ? "ok  " : "FAIL", what.c_str(), detail.empty() ? "" : ": ", detail.c_str());
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string ClipboardText() {
  std::string text;
  for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Sleep(10);
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(h))) {
      text = p;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return text;
}

// Plays a macro and returns the milliseconds it took on the real clock.
DWORD Timed(wdx::player::Interpreter& in, const std::string& macro) {
  const DWORD start = GetTickCount();
  in.DoMacro(macro, 1, 1, 1, false, false, 0);
  return GetTickCount() - start;
}

int Services(wdx::platform::Win32Platform& p) {
  Win32Host host(p);
  wdx::player::Interpreter in(host);

  // Blocking waits: exact, and scaled by the speed factor.
  DWORD ms = Timed(in, "<ITDELAY:01>");
  Check(ms >= 1000 && ms < 1600, "<ITDELAY:01> blocks one second", std::to_string(ms) + " ms");
  ms = Timed(in, "<SPEED:00.50><TDELAY:02>");
  Check(ms >= 1000 && ms < 1600, "<TDELAY:02> at speed 0.5 blocks one second", std::to_string(ms) + " ms");
  host.state = {};
  ms = Timed(in, "<SPEED:00000><TDELAY:05><MSD:5000><ITDELAY:00>");
  Check(ms < 300, "speed 0 skips the scaled waits", std::to_string(ms) + " ms");
  host.state = {};
  ms = Timed(in, "<IMSD:0300>");
  Check(ms >= 300 && ms < 800, "<IMSD:0300> waits 300 ms pumping", std::to_string(ms) + " ms");

  // The date of the real clock, stored in T3, against the local date.
  SYSTEMTIME before, after;
  GetLocalTime(&before);
  in.DoMacro("<YYYY-MM-DD{YF000}03>", 1, 1, 1, false, false, 0);
  GetLocalTime(&after);
  char expectBefore[16], expectAfter[16];
  std::snprintf(expectBefore, sizeof expectBefore, "%04u-%02u-%02u", before.wYear, before.wMonth, before.wDay);
  std::snprintf(expectAfter, sizeof expectAfter, "%04u-%02u-%02u", after.wYear, after.wMonth, after.wDay);
  const std::string& date = host.state.vars.text[3];
  Check(date == expectBefore || date == expectAfter, "date tag gives the local date", date);

  // Text variables to the clipboard, files, an INI file and the environment.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string file = std::string(temp) + "wdx_timing_out.txt";
  const std::string missing = std::string(temp) + "wdx_timing_missing.txt";
  const std::string ini = std::string(temp) + "wdx_timing.ini";
  DeleteFileA(file.c_str());
  DeleteFileA(missing.c_str());
  DeleteFileA(ini.c_str());
  host.state = {};
  host.state.vars.text[1] = "Value one";
  in.DoMacro("<TMVAR:16:01:00:000:000:><TMVAR:17:01:00:000:000:" + file + "><TMVAR:20:01:00:000:000:" + file +
                 "><TMVAR:20:01:00:000:000:" + missing + "><TMVAR:18:01:00:000:000:" + ini +
                 "\x01Sect\x01Key><TMVAR:19:01:00:000:000:WDX_TIMING_VAR>",
             1, 1, 1, false, false, 0);
  Check(ClipboardText() == "Value one", "clipboard holds the text", ClipboardText());
  Check(ReadFile(file) == "Value one\r\nValue one\r\n", "file written, then a line appended");
  Check(GetFileAttributesA(missing.c_str()) == INVALID_FILE_ATTRIBUTES, "appending creates no missing file");
  char value[64] = {};
  GetPrivateProfileStringA("Sect", "Key", "", value, sizeof value, ini.c_str());
  Check(std::string(value) == "Value one", "INI value written", value);
  value[0] = '\0';
  GetEnvironmentVariableA("WDX_TIMING_VAR", value, sizeof value);
  Check(std::string(value) == "Value one", "environment variable set for the process", value);
  Check(host.boxes.empty(), "no message box");
  DeleteFileA(file.c_str());
  DeleteFileA(ini.c_str());

  std::printf("%d failed\n", g_failures);
  return g_failures;
}

int Play(wdx::platform::Win32Platform& p, const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::printf("cannot read %s\n", path);
    return 2;
  }
  const std::string macro((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  wdx::forms::Win32Runner runner;
  Win32Host host(p, &runner);
  wdx::player::Interpreter interpreter(host);
  host.state.vars.text[1] = "Var";
  host.state.vars.text[2] = "<PAUSE:100,100Abort me>never";
  // The window the macro types into gets the focus back while a pause window is up.
  host.state.targetWindow = wdx::platform::win32::ToHandle(GetForegroundWindow());
  interpreter.DoMacro(macro, 1, 1, 1, false, false, 0);
  // Let the last keys reach the target.
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 300) {
    p.loop.PumpPending();
    Sleep(5);
  }
  std::printf("played, %zu message boxes\n", host.boxes.size());
  return host.boxes.empty() && ModifiersUp() ? 0 : 3;
}

int FrontAfterKeys(wdx::platform::Win32Platform& p) {
  using namespace wdx::platform;
  for (std::uint8_t vk = 'A'; vk <= 'J'; ++vk) {
    const auto scan = static_cast<std::uint8_t>(p.input.MapVirtualKey(vk, KeyMapKind::kVkToScan));
    p.input.KeyEvent(vk, scan, 0);
    p.input.KeyEvent(vk, scan, KEYEVENTF_KEYUP);
  }
  const WindowHandle own = p.windows.CreateOwnWindow("WdxTimingFront", "Timing Front",
                                                     [](const Message&) { return kDefaultHandling; });
  p.windows.ShowWindow(own, ShowMode::kShow);
  const bool front = p.windows.BringToFront(own);
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 3000) {
    p.loop.PumpPending();
    Sleep(10);
  }
  p.windows.DestroyOwnWindow(own);
  std::printf("front %d\n", front ? 1 : 0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  wdx::platform::Win32Platform platform;
  if (argc == 2 && std::string(argv[1]) == "--services") return Services(platform);
  if (argc == 3 && std::string(argv[1]) == "--play") return Play(platform, argv[2]);
  if (argc == 2 && std::string(argv[1]) == "--front-after-keys") return FrontAfterKeys(platform);
  std::printf("usage: wdxtimingtest --services | --play FILE | --front-after-keys\n");
  return 2;
}
