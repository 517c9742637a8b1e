// Finding and bringing up windows and programs by what a macro or a scope names: a window by
// its title (exact, else a part of it, without regard to case), a program by its executable's
// name, and the program that owns the foreground window. Many activation paths and window
// commands use these.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace wdx::player {

class WindowActivation {
 public:
  // `nt`: process enumeration looks at every process; on the 95 family only at the foreground
  // window's process.
  WindowActivation(platform::Platform& platform, bool nt) : p_(platform), nt_(nt) {}
  void SetNt(bool nt) { nt_ = nt; }

  // TMainWin.GetWinHandle: the window with exactly this title, else the first top-level window
  // (front first, titled ones only) whose upper-cased title contains the upper-cased text.
  // kNoWindow when none.
  platform::WindowHandle GetWinHandle(const std::string& title);
  // TMainWin.ActivateIt: GetWinHandle, restored when minimized and forced to the foreground;
  // `target` becomes the window. False when none was found.
  bool ActivateIt(const std::string& title, platform::WindowHandle& target);
  // TMainWin.ActivateProg (program upper-cased by the caller): the first process whose
  // upper-cased executable name contains `program`, then its first titled top-level window,
  // restored and forced to the foreground; `target` becomes it.
  bool ActivateProg(const std::string& program, platform::WindowHandle& target);
  // TMainWin.GetTopProgram: executable name of the foreground window's program ("" if none).
  std::string GetTopProgram();
  // TMainWin.SetMainWin: forces a window to the foreground (the foreground lock time-out is
  // set to 0 for the moment and then given back).
  void SetMainWin(platform::WindowHandle w);
  // The upper-cased title of a window as the walks read it (at most 255 characters).
  std::string UpperTitle(platform::WindowHandle w);

 private:
  // The first titled top-level window, front first, whose upper-cased title contains the text.
  platform::WindowHandle Walk(const std::string& upperSearch);
  void BringUp(platform::WindowHandle w, platform::WindowHandle& target);

  platform::Platform& p_;
  bool nt_;
};

}  // namespace wdx::player
