// WDXHOOK.dll: the system-wide hooks of the player.
//
// The library's copy of the hook-globals block lives in the named mapping WDBA1KGR, so the
// player's and the editor's pushes (two processes) land in one block; the player creates that
// mapping first and keeps it open for its whole life. Pushes and WdxGetGlob are serialised by
// the mutex WD88aveR; the hook callbacks only read single fields and never wait.
//
// The hooks are low-level keyboard and mouse hooks (WH_KEYBOARD_LL, WH_MOUSE_LL) plus WinEvent
// hooks for the foreground window and for windows coming and going, backed by polling (Wine 8
// delivers no foreground WinEvents at all; the poll then does the work). All of them are installed
// by one thread of the library's own, which does nothing but run its message loop: the
// callbacks run there, so a player busy inside a macro (or blocked in a timed wait) never
// delays the system's input, and Windows never has reason to drop a slow hook. Callbacks decide
// through HookCore and post; anything slower (the hit test of a click, typing a remapped
// character, polling the foreground window and the program list) is done by the same thread
// after the callback has returned.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

#include "hook/hook_core.h"
#include "hook/push_fields.h"
#include "shared/glob_data.h"
#include "shared/shared_blocks.h"

namespace {

using namespace wdx;
using namespace wdx::hook;

constexpr UINT kMsgInstall = WM_APP + 1;
constexpr UINT kMsgUnhook = WM_APP + 2;
constexpr UINT kMsgClick = WM_APP + 3;
constexpr UINT kMsgType = WM_APP + 4;
constexpr UINT kMsgMask = WM_APP + 5;
constexpr UINT kMsgProgramsSoon = WM_APP + 6;
constexpr UINT_PTR kForegroundPollMs = 250;
constexpr UINT_PTR kProgramPollMs = 2000;
constexpr UINT kProgramSettleMs = 300;
// Marks the key taps the library itself sends to hide a swallowed hot key from the shell.
constexpr ULONG_PTR kOwnInputMark = 0x57445848;  // "WDXH"
constexpr BYTE kMaskKey = 0xE8;                  // an unassigned virtual key

enum class Kind { kKeyboard, kMouse, kCbt, kSwap };

struct Installed {
  Kind kind;
  HHOOK hook = nullptr;
  HWINEVENTHOOK foregroundEvents = nullptr;
  HWINEVENTHOOK windowEvents = nullptr;
};

struct Request {
  Kind kind = Kind::kKeyboard;
  std::uint32_t handle = 0;
  std::uint32_t result = 0;
  HANDLE done = nullptr;
};

HINSTANCE g_instance = nullptr;
CRITICAL_SECTION g_initLock;

// Shared block and its guard.
std::uint8_t* g_glob = nullptr;
std::uint8_t g_privateGlob[kGlobDataSize];  // used only when the mapping cannot be made
HANDLE g_globMutex = nullptr;

// Hook thread.
HANDLE g_thread = nullptr;
DWORD g_threadId = 0;
HANDLE g_threadReady = nullptr;

void EnsureBlock() {
  EnterCriticalSection(&g_initLock);
  if (!g_glob) {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        static_cast<DWORD>(kGlobDataSize), kGlobBlockName);
    void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, kGlobDataSize) : nullptr;
    g_glob = view ? static_cast<std::uint8_t*>(view) : g_privateGlob;
    // The mapping handle stays open for the life of the process, as the view does.
    g_globMutex = CreateMutexA(nullptr, FALSE, kGlobMutexName);
  }
  LeaveCriticalSection(&g_initLock);
}

class BlockLock {
 public:
  BlockLock() {
    EnsureBlock();
    if (g_globMutex) {
      const DWORD r = WaitForSingleObject(g_globMutex, 200);
      held_ = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
    }
  }
  ~BlockLock() {
    if (held_) ReleaseMutex(g_globMutex);
  }

 private:
  bool held_ = false;
};

void PushFields(const std::uint8_t* source, PushGroup push, int macro = 0) {
  if (!source) return;
  BlockLock lock;
  CopyRanges(ConstBytes(source, kGlobDataSize), Bytes(g_glob, kGlobDataSize), PushRanges(push, macro));
}

// ---- The hook thread's world (touched only on that thread) ----

class Win32Host : public HookHost {
 public:
  void Post(platform::WindowHandle w, std::uint32_t msg, std::uint32_t wparam, std::int32_t lparam) override {
    if (w != 0) PostMessageA(reinterpret_cast<HWND>(static_cast<UINT_PTR>(w)), msg, wparam, static_cast<LPARAM>(lparam));
  }
  void PostClick(platform::WindowHandle w, std::uint32_t msg, platform::Point p) override {
    clickTarget_ = w;
    PostThreadMessageA(g_threadId, kMsgClick, msg, static_cast<LPARAM>(ClickLParam(p)));
  }
  platform::WindowHandle ForegroundWindow() override {
    return static_cast<platform::WindowHandle>(reinterpret_cast<UINT_PTR>(GetForegroundWindow()));
  }
  platform::Rect WindowRect(platform::WindowHandle w) override {
    RECT r{};
    GetWindowRect(reinterpret_cast<HWND>(static_cast<UINT_PTR>(w)), &r);
    return {r.left, r.top, r.right, r.bottom};
  }
  char KeyChar(std::uint8_t vk, std::uint16_t scan, bool shift, bool capsLock) override {
    WCHAR wide[4] = {};
    int n = 0;
    if (vk == VK_PACKET) {
      wide[0] = static_cast<WCHAR>(scan);
      n = 1;
    } else {
      BYTE state[256] = {};
      if (shift) state[VK_SHIFT] = 0x80;
      if (capsLock) state[VK_CAPITAL] = 0x01;
      const HWND front = GetForegroundWindow();
      const HKL layout = GetKeyboardLayout(front ? GetWindowThreadProcessId(front, nullptr) : 0);
      // Flag 4: leave the keyboard's dead-key state alone (the keystroke is not ours).
      n = ToUnicodeEx(vk, scan, state, wide, 4, 4, layout);
    }
    if (n != 1) return 0;
    char out = 0;
    BOOL lossy = FALSE;
    if (WideCharToMultiByte(1252, 0, wide, 1, &out, 1, nullptr, &lossy) != 1 || lossy) return 0;
    return out;
  }
  platform::WindowHandle clickTarget_ = 0;
};

Win32Host* g_host = nullptr;
HookCore* g_core = nullptr;
std::map<std::uint32_t, Installed>* g_installed = nullptr;
std::uint32_t g_nextHandle = 0x4B000001;
HANDLE g_cbtMapping = nullptr;
HANDLE g_swapMapping = nullptr;
std::vector<DWORD> g_programs;
bool g_programsKnown = false;
UINT_PTR g_foregroundTimer = 0, g_programTimer = 0, g_settleTimer = 0;

bool Has(Kind kind) {
  for (const auto& [h, inst] : *g_installed) {
    if (inst.kind == kind) return true;
  }
  return false;
}

KeyInput KeyInputOf(const KBDLLHOOKSTRUCT& k) {
  KeyInput e;
  e.vk = static_cast<std::uint8_t>(k.vkCode);
  e.scan = static_cast<std::uint16_t>(k.scanCode);
  e.up = (k.flags & LLKHF_UP) != 0;
  e.injected = (k.flags & LLKHF_INJECTED) != 0;
  e.time = k.time;
  return e;
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
    if (k->dwExtraInfo != kOwnInputMark) {
      const KeyVerdict v = g_core->OnKey(KeyInputOf(*k));
      if (v.maskModifier) PostThreadMessageA(g_threadId, kMsgMask, 0, 0);
      if (v.swallow) return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK SwapProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
    const KeyVerdict v = g_core->OnRemapKey(KeyInputOf(*k));
    if (v.replacement != 0) PostThreadMessageA(g_threadId, kMsgType, static_cast<unsigned char>(v.replacement), 0);
    if (v.swallow) return 1;
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK MouseProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION) {
    const auto* m = reinterpret_cast<const MSLLHOOKSTRUCT*>(lparam);
    MouseInput e;
    e.point = {m->pt.x, m->pt.y};
    e.injected = (m->flags & LLMHF_INJECTED) != 0;
    e.time = m->time;
    switch (wparam) {
      case WM_LBUTTONDOWN: e.action = MouseAction::kDown, e.button = 1; break;
      case WM_LBUTTONUP: e.action = MouseAction::kUp, e.button = 1; break;
      case WM_RBUTTONDOWN: e.action = MouseAction::kDown, e.button = 2; break;
      case WM_RBUTTONUP: e.action = MouseAction::kUp, e.button = 2; break;
      case WM_MBUTTONDOWN: e.action = MouseAction::kDown, e.button = 3; break;
      case WM_MBUTTONUP: e.action = MouseAction::kUp, e.button = 3; break;
      case WM_MOUSEWHEEL: e.action = MouseAction::kWheel; break;
      default: e.action = MouseAction::kMove; break;
    }
    if (g_core->OnMouse(e)) return 1;
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

BOOL CALLBACK CollectProcess(HWND w, LPARAM l) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  reinterpret_cast<std::vector<DWORD>*>(l)->push_back(pid);
  return TRUE;
}

void CheckPrograms() {
  std::vector<DWORD> now;
  EnumWindows(CollectProcess, reinterpret_cast<LPARAM>(&now));
  std::sort(now.begin(), now.end());
  now.erase(std::unique(now.begin(), now.end()), now.end());
  if (g_programsKnown && now != g_programs) g_core->OnProgramsChanged();
  g_programs.swap(now);
  g_programsKnown = true;
}

void CALLBACK WinEventProc(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG idObject, LONG idChild, DWORD, DWORD) {
  if (!Has(Kind::kCbt)) return;
  if (event == EVENT_SYSTEM_FOREGROUND) {
    g_core->OnForeground(static_cast<platform::WindowHandle>(reinterpret_cast<UINT_PTR>(hwnd)));
  } else if (idObject == OBJID_WINDOW && idChild == CHILDID_SELF) {
    // A window came or went: look at the program list once things have settled.
    PostThreadMessageA(g_threadId, kMsgProgramsSoon, 0, 0);
  }
}

void OpenShare(HANDLE& mapping, const char* name, std::size_t size, bool cbt) {
  if (!mapping) mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
  if (!mapping) return;
  void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, size);
  if (!view) return;
  const ConstBytes bytes(static_cast<const std::uint8_t*>(view), size);
  if (cbt) {
    g_core->SetCbtShare(bytes);
  } else {
    g_core->SetSwapShare(bytes);
  }
}

void InitModifiers() {
  for (const BYTE k : {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU, VK_LWIN, VK_RWIN}) {
    g_core->SetKeyDown(k, (GetAsyncKeyState(k) & 0x8000) != 0);
  }
  g_core->SetLockStates((GetKeyState(VK_CAPITAL) & 1) != 0, (GetKeyState(VK_NUMLOCK) & 1) != 0,
                        (GetKeyState(VK_SCROLL) & 1) != 0);
}

std::uint32_t Install(Kind kind) {
  Installed inst{kind};
  switch (kind) {
    case Kind::kKeyboard:
      InitModifiers();
      inst.hook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, g_instance, 0);
      break;
    case Kind::kMouse:
      inst.hook = SetWindowsHookExA(WH_MOUSE_LL, MouseProc, g_instance, 0);
      break;
    case Kind::kSwap:
      OpenShare(g_swapMapping, kSwapBlockName, kSwapBlockSize, false);
      inst.hook = SetWindowsHookExA(WH_KEYBOARD_LL, SwapProc, g_instance, 0);
      break;
    case Kind::kCbt:
      OpenShare(g_cbtMapping, kCbtBlockName, kCbtBlockSize, true);
      inst.foregroundEvents = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, WinEventProc,
                                              0, 0, WINEVENT_OUTOFCONTEXT);
      inst.windowEvents = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_DESTROY, nullptr, WinEventProc, 0, 0,
                                          WINEVENT_OUTOFCONTEXT);
      // Polling backs the events up: some systems deliver them late or not at all.
      if (!g_foregroundTimer) g_foregroundTimer = SetTimer(nullptr, 0, kForegroundPollMs, nullptr);
      if (!g_programTimer) g_programTimer = SetTimer(nullptr, 0, kProgramPollMs, nullptr);
      g_programsKnown = false;
      CheckPrograms();
      break;
  }
  if (kind != Kind::kCbt && !inst.hook) return 0;
  const std::uint32_t handle = g_nextHandle++;
  (*g_installed)[handle] = inst;
  return handle;
}

bool Unhook(std::uint32_t handle) {
  auto it = g_installed->find(handle);
  if (it == g_installed->end()) return false;
  const Installed inst = it->second;
  g_installed->erase(it);
  if (inst.hook) UnhookWindowsHookEx(inst.hook);
  if (inst.foregroundEvents) UnhookWinEvent(inst.foregroundEvents);
  if (inst.windowEvents) UnhookWinEvent(inst.windowEvents);
  if (inst.kind == Kind::kCbt && !Has(Kind::kCbt)) {
    KillTimer(nullptr, g_foregroundTimer);
    KillTimer(nullptr, g_programTimer);
    g_foregroundTimer = g_programTimer = 0;
  }
  return true;
}

void DoClick(std::uint32_t msg, LPARAM packed) {
  const POINT pt{static_cast<std::int16_t>(HIWORD(packed)), static_cast<std::int16_t>(LOWORD(packed))};
  DWORD_PTR hit = 0;
  if (HWND under = WindowFromPoint(pt)) {
    SendMessageTimeoutA(under, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y), SMTO_ABORTIFHUNG, 100, &hit);
  }
  g_host->Post(g_host->clickTarget_, msg, static_cast<std::uint32_t>(hit), static_cast<std::int32_t>(packed));
}

void TypeCharacter(unsigned char c) {
  WCHAR wide = 0;
  const char narrow = static_cast<char>(c);
  if (MultiByteToWideChar(1252, 0, &narrow, 1, &wide, 1) != 1) return;
  INPUT in[2] = {};
  for (int i = 0; i < 2; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wScan = wide;
    in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
  }
  SendInput(2, in, sizeof(INPUT));
}

// Wine writes the top megabyte of every new thread's stack before the thread's first
// instruction. This thread lives as long as the process and uses a few kilobytes of it, so the
// written pages below its frames are handed back (their contents are dead; a deeper call later
// gets fresh zeroed pages). On Windows those pages were never committed and nothing is done.
void HandBackUnusedStack() {
  volatile char here = 0;
  // Room for the frames of the calls made from here, which lie below this one.
  constexpr ULONG_PTR kMargin = 64 * 1024;
  const auto top = (reinterpret_cast<ULONG_PTR>(&here) - kMargin) & ~static_cast<ULONG_PTR>(0xFFF);
  MEMORY_BASIC_INFORMATION info;
  if (VirtualQuery(const_cast<char*>(&here), &info, sizeof info) == 0) return;
  auto at = reinterpret_cast<ULONG_PTR>(info.AllocationBase);
  while (at < top) {
    if (VirtualQuery(reinterpret_cast<void*>(at), &info, sizeof info) == 0) return;
    const ULONG_PTR end = std::min<ULONG_PTR>(reinterpret_cast<ULONG_PTR>(info.BaseAddress) + info.RegionSize, top);
    if (info.State == MEM_COMMIT && info.Protect == PAGE_READWRITE) {
      VirtualAlloc(reinterpret_cast<void*>(at), end - at, MEM_RESET, PAGE_READWRITE);
    }
    at = end;
  }
}

DWORD WINAPI HookThread(LPVOID) {
  HandBackUnusedStack();
  MSG msg;
  PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // makes the queue
  Win32Host host;
  HookCore core(Bytes(g_glob, kGlobDataSize), host);
  std::map<std::uint32_t, Installed> installed;
  g_host = &host;
  g_core = &core;
  g_installed = &installed;
  SetEvent(g_threadReady);

  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    switch (msg.message) {
      case kMsgInstall:
      case kMsgUnhook: {
        auto* req = reinterpret_cast<Request*>(msg.lParam);
        req->result = msg.message == kMsgInstall ? Install(req->kind) : (Unhook(req->handle) ? 1u : 0u);
        SetEvent(req->done);
        break;
      }
      case kMsgClick:
        DoClick(static_cast<std::uint32_t>(msg.wParam), msg.lParam);
        break;
      case kMsgType:
        TypeCharacter(static_cast<unsigned char>(msg.wParam));
        break;
      case kMsgMask:
        keybd_event(kMaskKey, 0, 0, kOwnInputMark);
        keybd_event(kMaskKey, 0, KEYEVENTF_KEYUP, kOwnInputMark);
        break;
      case kMsgProgramsSoon:
        if (g_settleTimer) KillTimer(nullptr, g_settleTimer);
        g_settleTimer = SetTimer(nullptr, 0, kProgramSettleMs, nullptr);
        break;
      case WM_TIMER:
        if (msg.wParam == g_foregroundTimer && Has(Kind::kCbt)) {
          core.OnForeground(host.ForegroundWindow());
        } else if (msg.wParam == g_programTimer && Has(Kind::kCbt)) {
          CheckPrograms();
        } else if (msg.wParam == g_settleTimer) {
          KillTimer(nullptr, g_settleTimer);
          g_settleTimer = 0;
          if (Has(Kind::kCbt)) CheckPrograms();
        }
        break;
      default:
        DispatchMessageA(&msg);
        break;
    }
  }
  return 0;
}

bool EnsureThread() {
  EnsureBlock();
  EnterCriticalSection(&g_initLock);
  if (!g_thread) {
    // The thread runs code of this library for the rest of the process: keep it loaded.
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCSTR>(&HookThread), &self);
    g_threadReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_thread = CreateThread(nullptr, 0, HookThread, nullptr, 0, &g_threadId);
    if (g_thread) WaitForSingleObject(g_threadReady, 5000);
  }
  LeaveCriticalSection(&g_initLock);
  return g_thread != nullptr;
}

std::uint32_t AskThread(UINT message, Kind kind, std::uint32_t handle) {
  if (!EnsureThread()) return 0;
  Request req;
  req.kind = kind;
  req.handle = handle;
  req.done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (!req.done) return 0;
  std::uint32_t result = 0;
  if (PostThreadMessageA(g_threadId, message, 0, reinterpret_cast<LPARAM>(&req)) &&
      WaitForSingleObject(req.done, 10000) == WAIT_OBJECT_0) {
    result = req.result;
  }
  CloseHandle(req.done);
  return result;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_instance = instance;
    // Thread notifications stay on: the statically linked runtime relies on them.
    InitializeCriticalSection(&g_initLock);
  }
  return TRUE;
}

std::uint32_t WINAPI WdxHookKeyboard() { return AskThread(kMsgInstall, Kind::kKeyboard, 0); }
std::uint32_t WINAPI WdxHookMouse() { return AskThread(kMsgInstall, Kind::kMouse, 0); }
std::uint32_t WINAPI WdxHookCBT() { return AskThread(kMsgInstall, Kind::kCbt, 0); }
std::uint32_t WINAPI WdxHookSwap() { return AskThread(kMsgInstall, Kind::kSwap, 0); }
BOOL WINAPI WdxUnHook(std::uint32_t handle) {
  return handle != 0 && g_thread && AskThread(kMsgUnhook, Kind::kKeyboard, handle) != 0;
}

void WINAPI WdxUpInit(const std::uint8_t* b) { PushFields(b, PushGroup::kInit); }
void WINAPI WdxUpWindow(const std::uint8_t* b) { PushFields(b, PushGroup::kWindow); }
void WINAPI WdxUpWindow2(const std::uint8_t* b) { PushFields(b, PushGroup::kWindow2); }
void WINAPI WdxUpKeyHook(const std::uint8_t* b) { PushFields(b, PushGroup::kKeyHook); }
void WINAPI WdxUpMouseHook(const std::uint8_t* b) { PushFields(b, PushGroup::kMouseHook); }
void WINAPI WdxUpKeys(const std::uint8_t* b) { PushFields(b, PushGroup::kKeys); }
void WINAPI WdxUpNumKeys(const std::uint8_t* b) { PushFields(b, PushGroup::kNumKeys); }
void WINAPI WdxUpItem(const std::uint8_t* b, std::int32_t macro) { PushFields(b, PushGroup::kItem, macro); }
void WINAPI WdxUpCapture(const std::uint8_t* b) { PushFields(b, PushGroup::kCapture); }
void WINAPI WdxUpCaptureOn(const std::uint8_t* b) { PushFields(b, PushGroup::kCaptureOn); }
void WINAPI WdxUpInUse(const std::uint8_t* b) { PushFields(b, PushGroup::kInUse); }
void WINAPI WdxUpIdle(const std::uint8_t* b) { PushFields(b, PushGroup::kIdle); }
void WINAPI WdxUpProg(const std::uint8_t* b) { PushFields(b, PushGroup::kProg); }
void WINAPI WdxUpProgs(const std::uint8_t* b) { PushFields(b, PushGroup::kProgs); }
void WINAPI WdxUpWaits(const std::uint8_t* b) { PushFields(b, PushGroup::kWaits); }
void WINAPI WdxUpMouseClk(const std::uint8_t* b) { PushFields(b, PushGroup::kMouseClk); }

void WINAPI WdxGetGlob(std::uint8_t** buffer) {
  if (!buffer || !*buffer) return;
  BlockLock lock;
  std::memcpy(*buffer, g_glob, kGlobDataSize);
}

}  // extern "C"
