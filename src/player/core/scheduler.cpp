#include "player/core/scheduler.h"

#include <algorithm>
#include <limits>

#include "player/core/main_win.h"
#include "player/core/protocol.h"
#include "shared/protocol_messages.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {
// The data group that carries the idle-tracking flag and the idle seconds back from the hook
// library.
constexpr int kIdleDataGroup = 12;
// How long a waited-for wave file is listened to at most: a sound device that never reports the
// end must not hold the start-up or a due macro for good.
constexpr std::uint32_t kWaveWaitLimitMs = 120000;
constexpr std::uint32_t kWavePollMs = 20;
}  // namespace

MacroScheduler::MacroScheduler(platform::Platform& platform, hook::HookLibrary& hook, TGlobData& block,
                               TSettingsRec& settings, MacroLibrary& library, RunFrame& frame, RunCoordinator& runs,
                               WindowActivation& activation)
    : platform_(platform),
      hook_(hook),
      block_(block),
      settings_(settings),
      library_(library),
      frame_(frame),
      runs_(runs),
      activation_(activation),
      lastCheck_(CheckMoment::At(Now())) {}

std::int64_t MacroScheduler::Now() {
  return platform_.clock ? CheckMoment::FromDays(platform_.clock->Now()).ms : 0;
}

// ---------------------------------------------------------------------------------------------
// The table

void MacroScheduler::CheckAndSetTime() {
  if (intervalSeconds_ == 0) intervalSeconds_ = static_cast<std::uint32_t>(std::clamp<int>(settings_.timerSeconds, 1, 60));
  const std::vector<ScheduleSlot> old = std::move(slots_);
  slots_.clear();
  ++generation_;
  const std::int64_t now = Now();
  bool idleSchedule = false;
  const int count = MacroLimit(block_);
  for (int i = 1; i <= count; ++i) {
    if (!block_.MacroActive(i) || block_.ActivationCode(i) != activation::kTimed) continue;
    TMacroRec r;
    if (!library_.ReadMacroRecord(i, r)) continue;
    const std::uint16_t kind = r.ScheduleKind();
    if (kind == schedule::kIdleMinutes) idleSchedule = true;
    if (kind == schedule::kStartup) continue;
    ScheduleSlot slot = SlotOf(i, r, now);
    // An idle macro that ran in this idle period does not run again in it because the table
    // was rebuilt (the editor saved some other macro meanwhile).
    if (kind == schedule::kIdleMinutes && block_.IdleFired()) {
      const auto was = std::find_if(old.begin(), old.end(), [i](const ScheduleSlot& s) {
        return s.macro == i && s.kind == schedule::kIdleMinutes;
      });
      slot.idleFired = was != old.end() && was->idleFired;
    }
    slots_.push_back(slot);
  }

  if (platform_.loop && frame_.MainWindow() != platform::kNoWindow) {
    if (slots_.empty())
      platform_.loop->KillTimer(frame_.MainWindow(), kScheduleTimerId);
    else
      platform_.loop->SetTimer(frame_.MainWindow(), kScheduleTimerId, intervalSeconds_ * 1000);
  }

  const bool tracking = block_.IdleTracking();
  block_.SetIdle(idleSchedule, block_.IdleFired(), 0);
  if (tracking != idleSchedule) hook_.WdxUpIdle(block_);
}

// ---------------------------------------------------------------------------------------------
// The check

void MacroScheduler::Tick() {
  // The idle time counts on every tick, also one that comes while a due macro plays.
  if (block_.IdleTracking()) {
    hook::GetGlobDataItem(hook_, block_, kIdleDataGroup);
    // The seconds that really pass between ticks: the timer's interval, which a later change of
    // the setting does not alter until the next start.
    const std::int64_t seconds = static_cast<std::int64_t>(block_.IdleSeconds()) + intervalSeconds_;
    block_.SetIdle(block_.IdleTracking(), block_.IdleFired(),
                   static_cast<std::int32_t>(std::min<std::int64_t>(seconds, std::numeric_limits<std::int32_t>::max())));
    hook_.WdxUpIdle(block_);
  }
  if (inTimerCheck_) return;
  inTimerCheck_ = true;
  const CheckMoment now = CheckMoment::At(Now());
  const CheckMoment previous = lastCheck_;
  const std::uint64_t generation = generation_;
  for (std::size_t i = 0; i < slots_.size() && generation == generation_; ++i) {
    if (!IsDue(slots_[i], previous, now, block_.IdleSeconds())) continue;
    if (slots_[i].kind == schedule::kIdleMinutes) {
      block_.SetIdle(block_.IdleTracking(), true, block_.IdleSeconds());
      hook_.WdxUpIdle(block_);
    }
    const int number = slots_[i].macro;
    TMacroRec r;
    if (library_.ReadMacroRecord(number, r)) RunTimedMacro(number, r);
  }
  lastCheck_ = now;
  inTimerCheck_ = false;
}

void MacroScheduler::IdleEnded() {
  // The hook library has put its own copy back to zero; the next tick copies it back.
  block_.SetIdle(block_.IdleTracking(), false, block_.IdleSeconds());
  for (ScheduleSlot& s : slots_) s.idleFired = false;
}

bool MacroScheduler::RefusesScreenSaver() {
  if (!settings_.disableScreenSaver) return false;
  const int count = MacroLimit(block_);
  for (int i = 1; i <= count; ++i)
    if (block_.MacroActive(i) && block_.ActivationCode(i) == activation::kTimed) return true;
  return false;
}

// ---------------------------------------------------------------------------------------------
// Runs

bool MacroScheduler::BringUpScope(const TMacroRec& r) {
  platform::WindowHandle target = platform::kNoWindow;
  switch (r.ScopeKind()) {
    case scope::kWindow:
      return activation_.ActivateIt(r.ScopeText(), target);
    case scope::kProgram:
      return activation_.ActivateProg(UpperAscii(r.ScopeText()), target);
    default:
      return true;
  }
}

void MacroScheduler::PlayWaveFile() {
  if (!settings_.useWaveFile || settings_.waveFile.empty() || !platform_.sound) return;
  if (!platform_.sound->PlayWave(settings_.waveFile) || !settings_.waveFileWait) return;
  // Messages (and the hooks the player hosts) keep being handled while the sound plays.
  const std::uint32_t start = frame_.TickCount();
  while (platform_.sound->Playing() && frame_.TickCount() - start < kWaveWaitLimitMs) {
    if (platform_.loop) platform_.loop->WaitAndPump(kWavePollMs);
    else if (platform_.clock) platform_.clock->Sleep(kWavePollMs);
  }
}

void MacroScheduler::RunTimedMacro(int number, const TMacroRec& r) {
  // A due run while another macro plays is dropped, not kept for later.
  if (frame_.State().macroPlaying || !BringUpScope(r)) return;
  PlayWaveFile();
  frame_.State().currentMacroNumber = number;
  frame_.StartRun({r.Text(), r.Nickname(), r.ActivationCode(), true, false});
}

// ---------------------------------------------------------------------------------------------
// Start-up

void MacroScheduler::RunStartupMacros(const CommandLineOptions& options) {
  // A macro started in the first seconds (a hot key) still plays: the start-up work waits for
  // it instead of passing every start-up macro over.
  if (frame_.State().macroPlaying) {
    if (platform_.loop) platform_.loop->SetTimer(frame_.MainWindow(), kStartupTimerId, kStartupRetryMs);
    return;
  }
  if (options.startupFile && !options.startupFile->empty()) RunSingleMacroFile(*options.startupFile);
  if (options.startupNickname && !options.startupNickname->empty()) RunByNickname(*options.startupNickname);
  const int count = MacroLimit(block_);
  for (int i = 1; i <= count; ++i) {
    if (!block_.MacroActive(i) || block_.ActivationCode(i) != activation::kTimed) continue;
    TMacroRec r;
    if (library_.ReadMacroRecord(i, r) && r.ScheduleKind() == schedule::kStartup) RunTimedMacro(i, r);
  }
}

void MacroScheduler::RunSingleMacroFile(const std::string& path) {
  if (frame_.State().macroPlaying) return;
  const std::optional<std::string> text =
      platform_.files ? ReadSingleMacroFile(platform_.files->NativePath(path)) : std::nullopt;
  // A file that cannot be read is said so; the start-up macros still run.
  if (!text) {
    frame_.DoAMessage(kErrorCaption, kSingleMacroOpenError);
    return;
  }
  if (text->empty()) return;
  frame_.StartRun({*text, kSingleMacroName, activation::kNone, true, true});
}

void MacroScheduler::RunByNickname(const std::string& upperNickname) {
  const int count = MacroLimit(block_);
  for (int i = 1; i <= count; ++i) {
    if (UpperAscii(settings_.nicknames[static_cast<std::size_t>(i)]) != UpperAscii(upperNickname)) continue;
    runs_.RunMacro(i, RunPath::kOther);
    return;
  }
}

}  // namespace wdx::player
