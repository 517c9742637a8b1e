// The hook library WDXHOOK as the player and the editor call it: its 22 exports. On Windows the
// real DLL is loaded by name (DllHookLibrary); natively, and in tests, an in-process stand-in
// with the same exports plays the system's part (InProcessHookLibrary).
//
// The library keeps its own copy of the hook-globals block. Each push export copies a fixed set
// of fields from the caller's block into that copy (push_fields.h); WdxGetGlob hands the whole
// copy back. Installers return a 32-bit handle (0 on failure) that the caller stores in its
// block and later passes to WdxUnHook.
#pragma once

#include <cstdint>

#include "shared/byte_codec.h"
#include "shared/glob_data.h"

namespace wdx::hook {

class HookLibrary {
 public:
  virtual ~HookLibrary() = default;

  // Installers.
  virtual std::uint32_t WdxHookKeyboard() = 0;
  virtual std::uint32_t WdxHookMouse() = 0;
  virtual std::uint32_t WdxHookCBT() = 0;
  virtual std::uint32_t WdxHookSwap() = 0;
  virtual bool WdxUnHook(std::uint32_t handle) = 0;

  // Pushes: the caller's block in, the listed fields copied into the library's block.
  virtual void WdxUpInit(const TGlobData& block) = 0;
  virtual void WdxUpWindow(const TGlobData& block) = 0;
  virtual void WdxUpWindow2(const TGlobData& block) = 0;
  virtual void WdxUpKeyHook(const TGlobData& block) = 0;
  virtual void WdxUpMouseHook(const TGlobData& block) = 0;
  virtual void WdxUpKeys(const TGlobData& block) = 0;
  virtual void WdxUpNumKeys(const TGlobData& block) = 0;
  virtual void WdxUpItem(const TGlobData& block, std::int32_t macro) = 0;
  virtual void WdxUpCapture(const TGlobData& block) = 0;
  virtual void WdxUpCaptureOn(const TGlobData& block) = 0;
  virtual void WdxUpInUse(const TGlobData& block) = 0;
  virtual void WdxUpIdle(const TGlobData& block) = 0;
  virtual void WdxUpProg(const TGlobData& block) = 0;
  virtual void WdxUpProgs(const TGlobData& block) = 0;
  virtual void WdxUpWaits(const TGlobData& block) = 0;
  virtual void WdxUpMouseClk(const TGlobData& block) = 0;

  // Copies the library's whole block into `buffer` (at least 19793 bytes; a shorter buffer
  // gets nothing).
  virtual void WdxGetGlob(Bytes buffer) = 0;
};

// TMainWin.GetGlobDataItem: a fresh buffer filled by WdxGetGlob, data group `group` (0..14;
// group 7 with a macro number) copied into `block`, the buffer freed. False when the group
// copies nothing.
bool GetGlobDataItem(HookLibrary& library, TGlobData& block, int group, int macro = 0);

}  // namespace wdx::hook
