// The hook library WDXHOOK as the player and the editor call it: its 22 exports. On Windows the
// real DLL is loaded by name (DllHookLibrary); natively, and in tests, an in-process stand-in
// with the same exports plays the system's part (InProcessHookLibrary).
//
// The library keeps its own copy of the hook-globals block. Each of its 16 push exports copies
// the fields of one push group from the caller's block into that copy (push_fields.h): Push is
// that export, and Flush sends each group the caller's setters marked since the last flush.
// WdxGetGlob hands the whole copy back. Installers return a 32-bit handle (0 on failure) that
// the caller stores in its block and later passes to WdxUnHook.
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

  // The push export of `group` (PushExportName): the group's fields copied from `block` into the
  // library's block; for kItem the table entries of `macro`.
  virtual void Push(PushGroup group, const TGlobData& block, int macro = 0) = 0;

  // The push exports by name, for callers that push by hand instead of flushing.
  void WdxUpInit(const TGlobData& block) { Push(PushGroup::kInit, block); }
  void WdxUpWindow(const TGlobData& block) { Push(PushGroup::kWindow, block); }
  void WdxUpWindow2(const TGlobData& block) { Push(PushGroup::kWindow2, block); }
  void WdxUpKeyHook(const TGlobData& block) { Push(PushGroup::kKeyHook, block); }
  void WdxUpMouseHook(const TGlobData& block) { Push(PushGroup::kMouseHook, block); }
  void WdxUpKeys(const TGlobData& block) { Push(PushGroup::kKeys, block); }
  void WdxUpNumKeys(const TGlobData& block) { Push(PushGroup::kNumKeys, block); }
  void WdxUpItem(const TGlobData& block, int macro) { Push(PushGroup::kItem, block, macro); }
  void WdxUpCapture(const TGlobData& block) { Push(PushGroup::kCapture, block); }
  void WdxUpCaptureOn(const TGlobData& block) { Push(PushGroup::kCaptureOn, block); }
  void WdxUpInUse(const TGlobData& block) { Push(PushGroup::kInUse, block); }
  void WdxUpIdle(const TGlobData& block) { Push(PushGroup::kIdle, block); }
  void WdxUpProg(const TGlobData& block) { Push(PushGroup::kProg, block); }
  void WdxUpProgs(const TGlobData& block) { Push(PushGroup::kProgs, block); }
  void WdxUpWaits(const TGlobData& block) { Push(PushGroup::kWaits, block); }
  void WdxUpMouseClk(const TGlobData& block) { Push(PushGroup::kMouseClk, block); }

  // Copies the library's whole block into `buffer` (at least 19793 bytes; a shorter buffer
  // gets nothing).
  virtual void WdxGetGlob(Bytes buffer) = 0;

  // Pushes what the block's setters marked since the last flush: each marked group once, in
  // the order of PushGroup, the changed macros' entries in ascending order. The marks go.
  void Flush(TGlobData& block);
};

// TMainWin.GetGlobDataItem: a fresh buffer filled by WdxGetGlob, data group `group` (0..14;
// group 7 with a macro number) copied into `block`, the buffer freed. False when the group
// copies nothing.
bool GetGlobDataItem(HookLibrary& library, TGlobData& block, int group, int macro = 0);

}  // namespace wdx::hook
