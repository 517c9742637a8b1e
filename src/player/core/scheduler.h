// The player's scheduler: the slots of the active timed macros (schedule_slots.h), checked on
// every tick of the schedule timer; the idle time behind the idle kind, counted on the same
// ticks; the start-up work five seconds after start (the command line's single-macro file and
// macro, then the start-up macros); and whether the screen saver may start.
#pragma once

#include <cstdint>
#include <vector>

#include "hook/hook_library.h"
#include "platform/platform.h"
#include "player/core/collaborators.h"
#include "player/core/run_coordinator.h"
#include "player/core/run_frame.h"
#include "player/core/schedule_slots.h"
#include "player/core/window_activation.h"
#include "shared/glob_data.h"
#include "shared/macro_library.h"
#include "shared/settings.h"

namespace wdx::player {

// How often start-up work that found a macro playing looks again.
inline constexpr std::uint32_t kStartupRetryMs = 1000;

class MacroScheduler final : public Scheduler {
 public:
  MacroScheduler(platform::Platform& platform, hook::HookLibrary& hook, TGlobData& block, TSettingsRec& settings,
                 MacroLibrary& library, RunFrame& frame, RunCoordinator& runs, WindowActivation& activation);

  void CheckAndSetTime() override;
  void Tick() override;
  void RunStartupMacros(const CommandLineOptions& options) override;
  void IdleEnded() override;
  bool RefusesScreenSaver() override;

  const std::vector<ScheduleSlot>& Slots() const { return slots_; }

 private:
  // RunScheduledMacro and the start-up macros: the scope's window or program brought up (or
  // nothing run), the wave file, the run without the in-use flag.
  void RunTimedMacro(int number, const TMacroRec& r);
  bool BringUpScope(const TMacroRec& r);
  void PlayWaveFile();
  void RunSingleMacroFile(const std::string& path);
  void RunByNickname(const std::string& upperNickname);
  std::int64_t Now();

  platform::Platform& platform_;
  hook::HookLibrary& hook_;
  TGlobData& block_;
  TSettingsRec& settings_;
  MacroLibrary& library_;
  RunFrame& frame_;
  RunCoordinator& runs_;
  WindowActivation& activation_;

  std::vector<ScheduleSlot> slots_;
  // Counts the rebuilds: a check whose macro run rebuilt the table stops there.
  std::uint64_t generation_ = 0;
  CheckMoment lastCheck_;
  bool inTimerCheck_ = false;
  // The schedule timer's interval, fixed when the table is first built (the player's start).
  std::uint32_t intervalSeconds_ = 0;
  bool timerOn_ = false;
};

}  // namespace wdx::player
