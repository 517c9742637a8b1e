#include "player/core/running_programs.h"

#include "shared/text_util.h"

namespace wdx::player {

std::string ProgramNameOf(platform::Platform& platform, platform::WindowHandle w) {
  if (!platform.processes || w == platform::kNoWindow) return std::string();
  const std::uint32_t pid = platform.windows->GetWindowProcessId(w);
  return pid == 0 ? std::string() : UpperAscii(platform.processes->ExeName(pid));
}

RunningPrograms::RunningPrograms(platform::Platform& platform, hook::HookLibrary& hook, TGlobData& block,
                                 TSettingsRec& settings, RunFrame& frame)
    : platform_(platform), hook_(hook), block_(block), settings_(settings), frame_(frame) {}

void RunningPrograms::ForegroundChanged(platform::WindowHandle w) {
  TakeForegroundProgram(w);
  ProgramsChanged();
}

void RunningPrograms::TakeForegroundProgram(platform::WindowHandle w) {
  block_.SetForegroundProgram(ProgramNameOf(platform_, w));
  hook_.WdxUpProg(block_);
}

void RunningPrograms::ProgramsChanged() {
  if (!platform_.processes) return;
  const std::int32_t before = block_.RunningCount();
  block_.ClearRunningPrograms();
  int count = 0;
  for (const platform::ProcessEntry& e : platform_.processes->List()) {
    if (count == kGlobMaxRunningPrograms) break;
    const std::string name = UpperAscii(e.exeName);
    if (name.find(".EXE") == std::string::npos) continue;
    block_.SetRunningProgram(++count, name);
  }
  block_.SetRunningCount(count);
  hook_.WdxUpProgs(block_);
  if (count != before && settings_.autoHooks) {
    frame_.TestHooks();
    if (platform_.loop) platform_.loop->SetTimer(frame_.MainWindow(), kHookTimerId, kHookTimerMs);
  }
}

}  // namespace wdx::player
