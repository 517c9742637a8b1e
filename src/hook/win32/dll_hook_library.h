// The real hook library, WDXHOOK.dll, loaded by name (it lies beside the programs) with its 22
// exports looked up by name. A missing library or export makes that call do nothing (an
// installer then returns 0), as a library that cannot hook would.
#pragma once

#include <cstdint>

#include "hook/hook_library.h"

namespace wdx::hook {

class DllHookLibrary : public HookLibrary {
 public:
  // `path` defaults to "WDXHOOK.dll", found by the system's search beside the executable.
  explicit DllHookLibrary(const char* path = "WDXHOOK.dll");
  ~DllHookLibrary() override;
  DllHookLibrary(const DllHookLibrary&) = delete;
  DllHookLibrary& operator=(const DllHookLibrary&) = delete;

  // True when the library and all 22 exports were found.
  bool Loaded() const { return loaded_; }

  std::uint32_t WdxHookKeyboard() override;
  std::uint32_t WdxHookMouse() override;
  std::uint32_t WdxHookCBT() override;
  std::uint32_t WdxHookSwap() override;
  bool WdxUnHook(std::uint32_t handle) override;
  void Push(PushGroup group, const TGlobData& block, int macro = 0) override;
  void WdxGetGlob(Bytes buffer) override;

 private:
  struct Exports;
  void* module_ = nullptr;
  Exports* fn_ = nullptr;
  bool loaded_ = false;
};

}  // namespace wdx::hook
