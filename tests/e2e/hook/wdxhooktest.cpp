// The real hook library under the real input functions: a window of ours plays the player, the
// library gets a block with one hot key mapped, and keys synthesised with keybd_event and
// SendInput must come back as the library's messages. Prints one "ok"/"FAIL" line per check and
// exits non-zero when any failed.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "hook/win32/dll_hook_library.h"
#include "shared/glob_data.h"
#include "shared/protocol_messages.h"

namespace {

using namespace wdx;

struct Seen {
  UINT msg;
  WPARAM w;
  LPARAM l;
  DWORD tick;
};
std::vector<Seen> g_seen;
int g_failed = 0;

void Check(bool ok, const char* what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
  std::fflush(stdout);
  if (!ok) ++g_failed;
}

LRESULT CALLBACK PlayerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m >= WM_USER + 1 && m <= WM_USER + 30) {
    g_seen.push_back({m, w, l, GetTickCount()});
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  MSG msg;
  while (GetTickCount() - start < ms) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  }
}

// Pumps until a message of that number arrives (or the time is up); returns its index or -1.
int WaitFor(UINT message, DWORD ms) {
  const DWORD start = GetTickCount();
  MSG msg;
  for (;;) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    for (std::size_t i = 0; i < g_seen.size(); ++i) {
      if (g_seen[i].msg == message) return static_cast<int>(i);
    }
    if (GetTickCount() - start >= ms) return -1;
    Sleep(2);
  }
}

int Count(UINT message) {
  int n = 0;
  for (const Seen& s : g_seen) n += s.msg == message;
  return n;
}

void Key(BYTE vk, bool up) { keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), up ? KEYEVENTF_KEYUP : 0, 0); }

void SendKey(WORD vk, bool up) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
}

HWND MakeWindow(const char* cls, const char* title) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = PlayerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = cls;
  RegisterClassA(&wc);
  return CreateWindowExA(0, cls, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

}  // namespace

int main() {
  hook::DllHookLibrary library;
  Check(library.Loaded(), "WDXHOOK.dll loads with its 22 exports");
  if (!library.Loaded()) return 1;

  HWND player = MakeWindow("WdxHookTestPlayer", "Hook Test Player");
  HWND other = MakeWindow("WdxHookTestOther", "Hook Test Other");
  Check(player && other, "test windows created");
  const auto playerHandle = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(player));

  // The block as the player prepares it: its window, one hot key (Ctrl+Q, index 16).
  constexpr int kIndex = 16;
  TGlobData block;
  block.SetPlayerWindow(playerHandle);
  block.SetSecondaryWindow(playerHandle, false);
  block.SetCaptureWindow(playerHandle, false);
  block.SetMacroCount(1);
  block.SetActivationCode(1, kIndex);
  block.SetMacroActive(1, true);
  block.SetScopeKind(1, 1);
  block.SetHotKeyMapped(kIndex, true);
  library.Push(PushGroup::kInit, block);  // WdxUpInit
  block.MarkInStep();

  std::vector<std::uint8_t> back(kGlobDataSize);
  library.WdxGetGlob(back);
  Check(TGlobData(back) == block, "WdxGetGlob hands back the block WdxUpInit took");

  const std::uint32_t keyboard = library.WdxHookKeyboard();
  Check(keyboard != 0, "WdxHookKeyboard installs a low-level keyboard hook");
  block.SetKeyboardHook(keyboard);
  library.Flush(block);

  SetForegroundWindow(player);
  Pump(200);
  g_seen.clear();

  // Ctrl+Q with keybd_event.
  const DWORD sent = GetTickCount();
  Key(VK_CONTROL, false);
  Key('Q', false);
  Key('Q', true);
  Key(VK_CONTROL, true);
  int at = WaitFor(UM_HOTKEY, 3000);
  Check(at >= 0, "keybd_event Ctrl+Q reaches the player as UM_HOTKEY");
  if (at >= 0) {
    const Seen s = g_seen[static_cast<std::size_t>(at)];
    char line[160];
    std::snprintf(line, sizeof line, "UM_HOTKEY carries index %d (got %u), lParam the foreground window",
                  kIndex, static_cast<unsigned>(s.w & 0x7FFF));
    Check((s.w & ~static_cast<WPARAM>(0x8000)) == kIndex && s.l == reinterpret_cast<LPARAM>(player), line);
    std::printf("note hot key latency %lu ms\n", static_cast<unsigned long>(s.tick - sent));
  }
  Pump(200);
  Check(Count(UM_HOTKEY) == 1, "one key press, one UM_HOTKEY");

  // The same with SendInput, and an unmapped key that must stay quiet.
  g_seen.clear();
  SendKey(VK_CONTROL, false);
  SendKey('W', false);
  SendKey('W', true);
  SendKey('Q', false);
  SendKey('Q', true);
  SendKey(VK_CONTROL, false);
  SendKey(VK_CONTROL, true);
  at = WaitFor(UM_HOTKEY, 3000);
  Pump(200);
  Check(at >= 0 && Count(UM_HOTKEY) == 1 && (g_seen[static_cast<std::size_t>(at)].w & 0x7FFF) == kIndex,
        "SendInput Ctrl+Q posts UM_HOTKEY; the unmapped Ctrl+W posts nothing");

  // Typed characters for the Abbrekeys, translated with the keyboard layout.
  g_seen.clear();
  block.SetAbbrekeysPresent(true);
  library.Flush(block);
  Key('A', false);
  Key('A', true);
  Key(VK_SHIFT, false);
  Key('B', false);
  Key('B', true);
  Key(VK_SHIFT, true);
  Key('1', false);
  Key('1', true);
  Pump(300);
  std::string typed;
  for (const Seen& s : g_seen) {
    if (s.msg == UM_ABBREKEYCHAR && s.w != kAbbrekeyReset) typed += static_cast<char>(s.l & 0xFF);
  }
  Check(typed == "aB1", ("typed keys arrive as UM_ABBREKEYCHAR characters (got \"" + typed + "\")").c_str());
  block.SetAbbrekeysPresent(false);
  library.Flush(block);

  // Keystroke synchronisation: the marker key ends the wait.
  g_seen.clear();
  block.SetWaitFlag(glob::kWaitKeySync, true);
  library.Flush(block);
  Key(VK_EXECUTE, false);
  Key(VK_EXECUTE, true);
  Check(WaitFor(UM_KEYSYNCDONE, 3000) >= 0, "the marker key VK_EXECUTE comes back as UM_KEYSYNCDONE");
  block.SetWaitFlag(glob::kWaitKeySync, false);
  library.Flush(block);

  // Foreground tracking.
  const std::uint32_t cbt = library.WdxHookCBT();
  Check(cbt != 0, "WdxHookCBT installs the foreground tracking");
  Pump(400);
  g_seen.clear();
  SetForegroundWindow(other);
  bool sawOther = false;
  const DWORD fgStart = GetTickCount();
  while (!sawOther && GetTickCount() - fgStart < 3000) {
    Pump(20);
    for (const Seen& s : g_seen) {
      if (s.msg == UM_FOREGROUND && s.w == reinterpret_cast<WPARAM>(other)) sawOther = true;
    }
  }
  Check(sawOther, "a foreground change reaches the player as UM_FOREGROUND with the new window");
  if (sawOther) std::printf("note foreground latency %lu ms\n", static_cast<unsigned long>(GetTickCount() - fgStart));

  // Unhooked, the hot key is silent.
  Check(library.WdxUnHook(keyboard), "WdxUnHook removes the keyboard hook");
  Check(!library.WdxUnHook(keyboard), "a second WdxUnHook of the same handle fails");
  Check(library.WdxUnHook(cbt), "WdxUnHook removes the foreground tracking");
  g_seen.clear();
  Key(VK_CONTROL, false);
  Key('Q', false);
  Key('Q', true);
  Key(VK_CONTROL, true);
  Pump(500);
  Check(Count(UM_HOTKEY) == 0, "after WdxUnHook no UM_HOTKEY");

  DestroyWindow(other);
  DestroyWindow(player);
  std::printf("%s\n", g_failed ? "FAILED" : "PASSED");
  return g_failed ? 1 : 0;
}
