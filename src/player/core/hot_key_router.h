// The hot-key road: from UM_HOTKEY to a running macro, the hot-key map the hook library
// watches, the choice among macros that share a key, and the five system macros.
#pragma once

#include <cstdint>

#include "hook/hook_library.h"
#include "platform/platform.h"
#include "player/core/collaborators.h"
#include "player/core/editor_link.h"
#include "player/core/run_coordinator.h"
#include "player/core/run_frame.h"
#include "player/core/window_activation.h"
#include "shared/glob_data.h"

namespace wdx::player {

class HotKeyRouter {
 public:
  HotKeyRouter(platform::Platform& platform, hook::HookLibrary& hook, TGlobData& block, RunFrame& frame, RunCoordinator& runs, WindowActivation& activation, EditorPeer& editor,
               MainWindowActions& main, ProgramWatcher& programs, Recorder& recorder, MacroMenus& menus);

  // UM_HOTKEY: wParam the hot key index (with the Caps Lock bit) or a macro number with the
  // macro bit; lParam the window in front when the key was pressed.
  void OnHotKey(std::uint32_t w, platform::WindowHandle window);
  // The map of the active macros' hot keys, pushed to the hook library.
  void SetHotKeys();
  // The macro a hot key runs: one scoped to the window or program in front, else one whose
  // window or program runs (brought to the front), else the last global one; 0 when none.
  int GetMacro(int index);

 private:
  // The system macro (scope kind 5) whose activation code is `key`: its number, or 0.
  int SystemMacroFor(int key) const;
  // GetMacro's choice; with `activate` false nothing changes (no window comes up, the target
  // stays), which is how a key is compared while a PAUSE waits.
  int ChooseMacro(int index, bool activate);
  void OnKeyDuringPause(int key, bool caps);
  void RunSystemMacro(int system);
  // Sends the key again, so that a reloaded hot-key map decides.
  void ResendKey(int key);

  platform::Platform& platform_;
  hook::HookLibrary& hook_;
  TGlobData& block_;
  RunFrame& frame_;
  RunCoordinator& runs_;
  WindowActivation& activation_;
  EditorPeer& editor_;
  MainWindowActions& main_;
  ProgramWatcher& programs_;
  Recorder& recorder_;
  MacroMenus& menus_;
};

}  // namespace wdx::player
