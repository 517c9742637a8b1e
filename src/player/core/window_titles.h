// Window-title macros (activation 25000): they run when a window whose title holds their scope
// text comes to the front. Program-scoped ones (scope kind 3) run first and only when their
// program is the one in front; when one of them ran, the others wait for the next change.
//
// The watcher also remembers the last window in front that had a title, and the last such
// window of another program than the player, which a floating menu gives the focus back to.
#pragma once

#include <string>

#include "platform/platform.h"
#include "player/core/collaborators.h"
#include "player/core/run_frame.h"
#include "shared/glob_data.h"
#include "shared/macro_library.h"

namespace wdx::player {

inline constexpr char kPlayerExeName[] = "WENDPLAY.EXE";

class WindowTitles final : public WindowWatcher {
 public:
  WindowTitles(platform::Platform& platform, MacroLibrary& library, TGlobData& block, RunFrame& frame);

  // The foreground program was already taken (the program watcher runs first): the last
  // windows follow a window with a title, and its title starts the macros that match.
  void ForegroundChanged(platform::WindowHandle w) override;
  // Runs the window-title macros for `title`, in macro-number order: pass 1 the program-scoped
  // ones whose program is in front; pass 2, only when pass 1 ran none, every other one.
  void CheckForWindowMacros(const std::string& title);

  // The player's own main window until a titled window came to the front.
  platform::WindowHandle LastForeground() const;
  platform::WindowHandle LastOtherForeground() const;

 private:
  void RunWindowMacro(int number, const TMacroRec& record);

  platform::Platform& platform_;
  MacroLibrary& library_;
  TGlobData& block_;
  RunFrame& frame_;
  platform::WindowHandle lastForeground_ = platform::kNoWindow;
  platform::WindowHandle lastOtherForeground_ = platform::kNoWindow;
};

}  // namespace wdx::player
