// The programs that run and the program in front, kept in the hook-globals block: the hook
// library reads them, and so do the program-scoped hot-key macros (the one in front for the
// first pass of the choice, the running ones for the second).
#pragma once

#include <string>

#include "hook/hook_library.h"
#include "platform/platform.h"
#include "player/core/collaborators.h"
#include "player/core/run_frame.h"
#include "shared/glob_data.h"
#include "shared/settings.h"

namespace wdx::player {

// The upper-cased executable file name of the program that owns window `w`; "" when it cannot
// be found.
std::string ProgramNameOf(platform::Platform& platform, platform::WindowHandle w);

class RunningPrograms final : public ProgramWatcher {
 public:
  RunningPrograms(platform::Platform& platform, hook::HookLibrary& hook, TGlobData& block, TSettingsRec& settings,
                  RunFrame& frame);

  // The program of `w` becomes the foreground program (pushed), then the running programs
  // are listed again.
  void ForegroundChanged(platform::WindowHandle w) override;
  void TakeForegroundProgram(platform::WindowHandle w) override;
  // The running programs whose name holds ".EXE", at most 200 (25 characters of each), pushed.
  // With "Auto Hooks" on, a change in their number installs the hooks again at once and once
  // more 5 seconds later.
  void ProgramsChanged() override;

 private:
  platform::Platform& platform_;
  hook::HookLibrary& hook_;
  TGlobData& block_;
  TSettingsRec& settings_;
  RunFrame& frame_;
};

}  // namespace wdx::player
