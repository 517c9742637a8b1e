#include "hook/win32/dll_hook_library.h"

#include <windows.h>

#include <array>

#include "hook/push_fields.h"

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
  std::array<PushFn, kPushGroupCount> push{};  // by push group; WdxUpItem is `item`
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
  for (std::size_t g = 0; g < kPushGroupCount; ++g) {
    const auto group = static_cast<PushGroup>(g);
    if (group == PushGroup::kItem) {
      get(fn_->item, PushExportName(group));
    } else {
      get(fn_->push[g], PushExportName(group));
    }
  }
  get(fn_->getGlob, "WdxGetGlob");
  loaded_ = all;
}

// The library stays loaded: its hook thread may still run (it pins itself anyway).
DllHookLibrary::~DllHookLibrary() { delete fn_; }

namespace {
std::uint32_t Call(Installer f) { return f ? f() : 0; }
}  // namespace

std::uint32_t DllHookLibrary::WdxHookKeyboard() { return Call(fn_->keyboard); }
std::uint32_t DllHookLibrary::WdxHookMouse() { return Call(fn_->mouse); }
std::uint32_t DllHookLibrary::WdxHookCBT() { return Call(fn_->cbt); }
std::uint32_t DllHookLibrary::WdxHookSwap() { return Call(fn_->swap); }
bool DllHookLibrary::WdxUnHook(std::uint32_t handle) { return fn_->unhook && fn_->unhook(handle) != FALSE; }

void DllHookLibrary::Push(PushGroup group, const TGlobData& block, int macro) {
  if (group == PushGroup::kItem) {
    if (fn_->item) fn_->item(block.Raw().data(), macro);
    return;
  }
  if (PushFn f = fn_->push[static_cast<std::size_t>(group)]) f(block.Raw().data());
}

void DllHookLibrary::WdxGetGlob(Bytes buffer) {
  if (!fn_->getGlob || buffer.size() < kGlobDataSize) return;
  std::uint8_t* p = buffer.data();
  fn_->getGlob(&p);
}

}  // namespace wdx::hook
