// The editor's side of its conversation with the player and the hook library: the player's
// window (from "/RH"), UM_CONTROL notices to it, the data groups of the hook-globals block
// copied back from the hook library, and the pushes the editor makes after it changed macros.
//
// Notices go only to a known player window: before "/RH" is read (or without one) nothing is
// posted, so no notice ever goes to window 0.
#pragma once

#include <cstdint>

#include "hook/hook_library.h"
#include "platform/window_system.h"
#include "shared/glob_data.h"

namespace wdx::editor {

class PlayerLink {
 public:
  PlayerLink(platform::WindowSystem& windows, hook::HookLibrary& hook, TGlobData& glob)
      : windows_(windows), hook_(hook), glob_(glob) {}

  platform::WindowHandle PlayerWnd() const { return player_; }
  void SetPlayerWnd(platform::WindowHandle w) { player_ = w; }
  hook::HookLibrary& Hook() { return hook_; }
  TGlobData& Glob() { return glob_; }

  // UM_CONTROL (code, argument) to the player; the result is not checked.
  void Tell(int code, std::int64_t argument = 0);

  // GetGlobDataItem: one data group (0..14; 7 with a macro number) from the hook library's
  // block into the editor's. False when the group copies nothing.
  bool GetGlobDataItem(int group, int macro = 0);
  // At start: groups 0..6 and 8..14, then group 7 of every macro 1..count.
  void CopyAllGroups();

  // SetHotKeys: the hot key map from the active hot-key macros, the Abbrekey byte, pushed and
  // told (6, 14).
  void SetHotKeys();
  // The macro count pushed and told (6, 8).
  void UpNumKeys();
  // The capture options pushed and told (6, 0).
  void UpCapture();
  // The capture-on byte pushed and told (6, 1).
  void UpCaptureOn();
  // The window that gets UM_HOTKEYINDEX, and the one that gets the recording's characters and
  // its end: set in the block, pushed and told (6, 6).
  void SetSecWind(platform::WindowHandle w, bool on);
  void SetCapWind(platform::WindowHandle w, bool on);

 private:
  platform::WindowSystem& windows_;
  hook::HookLibrary& hook_;
  TGlobData& glob_;
  platform::WindowHandle player_ = platform::kNoWindow;
};

}  // namespace wdx::editor
