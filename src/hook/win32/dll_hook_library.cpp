#include "hook/win32/dll_hook_library.h"

#include <windows.h>

namespace wdx::hook {

namespace {
using Installer = std::uint32_t(WINAPI*)();
using UnHook = BOOL(WINAPI*)(std::uint32_t);
using PushFn = void(WINAPI*)(const std::uint8_t*);
using PushItemFn = void(WINAPI*)(const std::uint8_t*, std::int32_t);
using GetGlobFn = void(WINAPI*)(std::uint8_t**);
}  // namespace

struct DllHookLibrary::Exports {
  Installer keyboard = nullptr, mouse = nullptr, cbt = nullptr, swap = nullptr;
  UnHook unhook = nullptr;
  PushFn init = nullptr, window = nullptr, window2 = nullptr, keyHook = nullptr, mouseHook = nullptr, keys = nullptr,
         numKeys = nullptr, capture = nullptr, captureOn = nullptr, inUse = nullptr, idle = nullptr, prog = nullptr,
         progs = nullptr, waits = nullptr, mouseClk = nullptr;
  PushItemFn item = nullptr;
  GetGlobFn getGlob = nullptr;
};

DllHookLibrary::DllHookLibrary(const char* path) : fn_(new Exports) {
  HMODULE m = LoadLibraryA(path);
  module_ = m;
  if (!m) return;
  bool all = true;
  auto get = [&](auto& slot, const char* name) {
    slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(reinterpret_cast<void*>(GetProcAddress(m, name)));
    all = all && slot != nullptr;
  };
  get(fn_->keyboard, "WdxHookKeyboard");
  get(fn_->mouse, "WdxHookMouse");
  get(fn_->cbt, "WdxHookCBT");
  get(fn_->swap, "WdxHookSwap");
  get(fn_->unhook, "WdxUnHook");
  get(fn_->init, "WdxUpInit");
  get(fn_->window, "WdxUpWindow");
  get(fn_->window2, "WdxUpWindow2");
  get(fn_->keyHook, "WdxUpKeyHook");
  get(fn_->mouseHook, "WdxUpMouseHook");
  get(fn_->keys, "WdxUpKeys");
  get(fn_->numKeys, "WdxUpNumKeys");
  get(fn_->item, "WdxUpItem");
  get(fn_->capture, "WdxUpCapture");
  get(fn_->captureOn, "WdxUpCaptureOn");
  get(fn_->inUse, "WdxUpInUse");
  get(fn_->idle, "WdxUpIdle");
  get(fn_->prog, "WdxUpProg");
  get(fn_->progs, "WdxUpProgs");
  get(fn_->waits, "WdxUpWaits");
  get(fn_->mouseClk, "WdxUpMouseClk");
  get(fn_->getGlob, "WdxGetGlob");
  loaded_ = all;
}

// The library stays loaded: its hook thread may still run (it pins itself anyway).
DllHookLibrary::~DllHookLibrary() { delete fn_; }

namespace {
std::uint32_t Call(Installer f) { return f ? f() : 0; }
void Call(PushFn f, const TGlobData& b) {
  if (f) f(b.data());
}
}  // namespace

std::uint32_t DllHookLibrary::WdxHookKeyboard() { return Call(fn_->keyboard); }
std::uint32_t DllHookLibrary::WdxHookMouse() { return Call(fn_->mouse); }
std::uint32_t DllHookLibrary::WdxHookCBT() { return Call(fn_->cbt); }
std::uint32_t DllHookLibrary::WdxHookSwap() { return Call(fn_->swap); }
bool DllHookLibrary::WdxUnHook(std::uint32_t handle) { return fn_->unhook && fn_->unhook(handle) != FALSE; }
void DllHookLibrary::WdxUpInit(const TGlobData& b) { Call(fn_->init, b); }
void DllHookLibrary::WdxUpWindow(const TGlobData& b) { Call(fn_->window, b); }
void DllHookLibrary::WdxUpWindow2(const TGlobData& b) { Call(fn_->window2, b); }
void DllHookLibrary::WdxUpKeyHook(const TGlobData& b) { Call(fn_->keyHook, b); }
void DllHookLibrary::WdxUpMouseHook(const TGlobData& b) { Call(fn_->mouseHook, b); }
void DllHookLibrary::WdxUpKeys(const TGlobData& b) { Call(fn_->keys, b); }
void DllHookLibrary::WdxUpNumKeys(const TGlobData& b) { Call(fn_->numKeys, b); }
void DllHookLibrary::WdxUpItem(const TGlobData& b, std::int32_t macro) {
  if (fn_->item) fn_->item(b.data(), macro);
}
void DllHookLibrary::WdxUpCapture(const TGlobData& b) { Call(fn_->capture, b); }
void DllHookLibrary::WdxUpCaptureOn(const TGlobData& b) { Call(fn_->captureOn, b); }
void DllHookLibrary::WdxUpInUse(const TGlobData& b) { Call(fn_->inUse, b); }
void DllHookLibrary::WdxUpIdle(const TGlobData& b) { Call(fn_->idle, b); }
void DllHookLibrary::WdxUpProg(const TGlobData& b) { Call(fn_->prog, b); }
void DllHookLibrary::WdxUpProgs(const TGlobData& b) { Call(fn_->progs, b); }
void DllHookLibrary::WdxUpWaits(const TGlobData& b) { Call(fn_->waits, b); }
void DllHookLibrary::WdxUpMouseClk(const TGlobData& b) { Call(fn_->mouseClk, b); }

void DllHookLibrary::WdxGetGlob(Bytes buffer) {
  if (!fn_->getGlob || buffer.size() < kGlobDataSize) return;
  std::uint8_t* p = buffer.data();
  fn_->getGlob(&p);
}

}  // namespace wdx::hook
