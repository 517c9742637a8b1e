#include "player/core/run_frame.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "platform/virtual_keys.h"
#include "player/interpreter/interpreter.h"
#include "player/interpreter/key_posting.h"
#include "shared/date_pictures.h"
#include "shared/date_time.h"
#include "shared/protocol_messages.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

constexpr double kSecondsPerDay = 86400.0;
// The longest wait on the semaphore: one less than the value that means "forever".
constexpr std::uint32_t kLongestTimedWait = platform::kInfinite - 1;

// The number a reference's one or two characters stand for, as the conversion of the original
// reads it: leading blanks, then decimal digits only; anything else is no number (0).
int ReferenceNumber(std::string_view digits) {
  std::size_t i = 0;
  while (i < digits.size() && digits[i] == ' ') ++i;
  if (i == digits.size()) return 0;
  int n = 0;
  for (; i < digits.size(); ++i) {
    if (digits[i] < '0' || digits[i] > '9') return 0;
    n = n * 10 + (digits[i] - '0');
  }
  return n;
}

char CharAt(const std::string& s, std::size_t i) { return i < s.size() ? s[i] : '\0'; }

void Cut(std::string& s, std::size_t max) {
  if (s.size() > max) s.resize(max);
}

// The shared walk of both expansions; `limited` applies the short-string bounds. The long form
// gives up (false, the text unchanged) when its result would pass what a text variable holds.
bool Expand(std::string& text, bool limited, std::size_t maxLength, const VariableSet& vars) {
  std::string s = text;
  std::string result;
  for (;;) {
    const std::size_t p = s.find("%T");
    if (p == std::string::npos) {
      result += s;
      break;
    }
    std::size_t digits = 0;
    if (CharAt(s, p + 3) == '%') {
      digits = 1;
    } else if (CharAt(s, p + 4) == '%') {
      digits = 2;
    } else {
      result += s;
      break;
    }
    const int n = ReferenceNumber(std::string_view(s).substr(p + 2, digits));
    if (n < 1 || n > 99) {
      result += s;
      break;
    }
    const std::string& value = vars.text[static_cast<std::size_t>(n)];
    if (!limited && result.size() + p + value.size() > VariableSet::kMaxTextLength) return false;
    result += s.substr(0, p);
    result += value;
    if (limited) Cut(result, kShortStringMax);
    s.erase(0, p + 3 + digits);
    if (limited) Cut(s, maxLength);
  }
  if (!limited && result.size() > VariableSet::kMaxTextLength) return false;
  text = std::move(result);
  if (limited) Cut(text, maxLength);
  return true;
}

}  // namespace

void ProcessStringVar(std::string& text, std::size_t maxLength, const VariableSet& vars) {
  Expand(text, true, std::min(maxLength, kShortStringMax), vars);
}

bool ProcessAnsiStringVar(std::string& text, const VariableSet& vars) { return Expand(text, false, 0, vars); }

RunFrame::RunFrame(platform::Platform& platform, hook::HookLibrary& hook, TGlobData& block, TSettingsRec& settings,
                   EditorPeer& editor, WindowActivation& activation)
    : platform_(platform),
      hook_(hook),
      block_(block),
      settings_(settings),
      editor_(editor),
      activation_(activation) {
  // A text box the user or its timer closed is freed by the message it posts, never inside
  // its own handler.
  prompts_.TextBoxes().SetClosedNotice([this](std::uint32_t id) {
    if (mainWindow_ != platform::kNoWindow && platform_.windows != nullptr) {
      platform_.windows->PostMessage(mainWindow_, UM_TEXTBOXCLOSED, 0, id);
    }
  });
}

RunFrame::~RunFrame() = default;

// ---------------------------------------------------------------------------------------------
// The frame of a run

void RunFrame::BeforeMacro() {
  state_.logErrors = false;
  state_.showErrors = true;
  state_.mouseDelayOn = false;
  state_.keyDelayOn = false;
  state_.speedFactor = 1.0;
  // The macro types with Caps Lock off; the end of the run turns it back on.
  state_.capsWasOn = state_.capsLockOn;
  if (state_.capsWasOn) {
    PostVKey(vk::kCapital, false);
    PostVKey(vk::kCapital, true);
  }
  state_.abortMacro = false;
  state_.macroPlaying = true;
  // The shell takes tens of milliseconds to change an icon: the run shows it when it first
  // turns its message queue, after its first key, so a hot key's first character never waits.
  if (!PostToSelf(kRunningIconMessage)) ShowRunningIcon();
  for (int i = 1; i < VariableSet::kTextSlots; ++i) state_.vars.text[static_cast<std::size_t>(i)].clear();
  state_.vars.integer.fill(0);
  state_.vars.decimal.fill(0.0);
  state_.appendMacroName = false;
}

void RunFrame::ShowRunningIcon() {
  if (!settings_.showRunningIcon || !tray_) return;
  tray_->SetRunningImage(true);
  tray_->SetTip(kRunningTip);
  tray_->SetActive(true);
}

bool RunFrame::PostToSelf(std::uint32_t message) {
  if (!platform_.windows || mainWindow_ == platform::kNoWindow) return false;
  platform_.windows->PostMessage(mainWindow_, message, 0, 0);
  return true;
}

void RunFrame::AfterMacro() {
  if (state_.logErrors) LogError("Finished Macro " + state_.currentMacroName);
  state_.macroPlaying = false;
  prompts_.TextBoxes().CloseAll();
  if (tray_) {
    if (!settings_.useTray) tray_->SetActive(false);
    tray_->SetRunningImage(false);
    tray_->SetTip(kIdleTip);
  }
  if (state_.terminateAfterRun && closePlayer_) closePlayer_();
}

bool RunFrame::StartRun(const RunRequest& request) {
  if (state_.macroPlaying) return false;
  if (request.markInUse) BeginInUse();
  state_.currentMacroName = request.name;
  state_.currentActivation = request.activation;
  BeforeMacro();
  if (request.beforeText) request.beforeText();
  // Made at the first run: a player that waits for its keys keeps none of the command families'
  // code in memory.
  if (!interpreter_) interpreter_ = std::make_unique<Interpreter>(*this);
  interpreter_->DoMacro(request.text, 1, 1, 1, request.restoreCaps, false, 0);
  AfterMacro();
  if (request.markInUse) EndInUse();
  return true;
}

// ---------------------------------------------------------------------------------------------
// Keys

void RunFrame::PostVKey(std::uint8_t vk, bool up) {
  if (platform_.input) PostKeyEvent(*platform_.input, vk, up);
}

void RunFrame::PostAltVKey(std::uint8_t vk, bool up) { PostVKey(vk, up); }

std::int16_t RunFrame::VkKeyScan(char c) { return platform_.input ? platform_.input->VkKeyScan(c) : -1; }

// ---------------------------------------------------------------------------------------------
// Waits

void RunFrame::PumpMessages() {
  if (platform_.loop) platform_.loop->PumpPending();
}

std::uint32_t RunFrame::TickCount() { return platform_.clock ? platform_.clock->TickCount() : 0; }

// The polled wait: seconds of the day read before the loop and after each pump, with the wrap
// at midnight. Between readings the thread sleeps until a message arrives (at most a few
// milliseconds), so the wait handles messages as promptly as a busy loop without burning a
// processor. A quit request ends it early so the program can close.
void RunFrame::Wait(double seconds) {
  if (!platform_.clock || !platform_.loop || !(seconds > 0)) {
    PumpMessages();
    return;
  }
  // The clock is the time of day, so the elapsed time is summed reading by reading (each step
  // wrapping at midnight): compared with the start alone, a wait of a day or more never ended.
  double last = SecondsOfDay(platform_.clock->Now());
  double elapsed = 0;
  for (;;) {
    const double current = SecondsOfDay(platform_.clock->Now());
    double step = current - last;
    if (step < 0) step += kSecondsPerDay;
    elapsed += step;
    last = current;
    if (elapsed > seconds) return;
    const double left = (seconds - elapsed) * 1000.0;
    // Any message ends the slice early, so a longer slice costs no responsiveness.
    const auto slice = static_cast<std::uint32_t>(std::clamp(std::ceil(left), 1.0, 100.0));
    if (!platform_.loop->WaitAndPump(slice)) return;
  }
}

void RunFrame::PauseFor(double seconds) {
  if (state_.speedFactor == 0) return;
  Wait(seconds * state_.speedFactor);
}

void RunFrame::PauseForNoSpeed(double seconds) { Wait(seconds); }

void RunFrame::TimedPauseFor(bool exact, double seconds) {
  WaitForTimer(TimedPauseMs(exact, seconds, state_.speedFactor));
}

void RunFrame::WaitForTimer(std::uint32_t milliseconds) {
  milliseconds = std::min(milliseconds, kLongestTimedWait);  // never the endless wait
  if (platform_.kernel) waitTimer_ = platform_.kernel->CreateSemaphore(kWaitTimerSemaphore, 0, 10);
  if (waitTimer_) {
    waitTimer_->Wait(milliseconds);
    waitTimer_.reset();
  } else if (platform_.clock) {
    platform_.clock->Sleep(milliseconds);  // the wait is the point, even without the semaphore
  }
}

// ---------------------------------------------------------------------------------------------
// Error log and messages

// A log line that cannot be written is lost; nothing is shown and nothing is thrown, so a bad
// path, a full disk or a share that went away never stops a run.
void RunFrame::LogError(const std::string& text) {
  const std::string& path = settings_.errorLogPath;
  if (path.empty()) return;
  const std::string native = platform_.files ? platform_.files->NativePath(path) : path;
  std::FILE* f = std::fopen(native.c_str(), "ab");
  if (!f) return;
  const double now = platform_.clock ? platform_.clock->Now() : 0.0;
  // The system's formats as they are now: the user may change them while the player runs.
  const platform::DateTimeFormats formats = platform_.regional ? platform_.regional->DateTime() : platform::DateTimeFormats{};
  const std::string line = ErrorLogStamp(now, formats) + " " + text + "\r\n";
  std::fwrite(line.data(), 1, line.size(), f);
  std::fclose(f);
}

std::string RunFrame::WithMacroName(const std::string& text) {
  std::string shown = text;
  if (state_.appendMacroName) shown += " (Macro Name: " + state_.currentMacroName + ")";
  state_.appendMacroName = false;
  return shown;
}

// Where no form can be shown, the system's message box stands in for the message windows.
void RunFrame::SystemBox(const std::string& caption, const std::string& text) {
  PauseForNoSpeed(0.3);
  if (platform_.boxes) {
    platform_.boxes->Show(mainWindow_, text, caption,
                          platform::mb::kOk | platform::mb::kTopMost | platform::mb::kSetForeground);
  }
}

void RunFrame::DoAMessage(const std::string& caption, const std::string& text) {
  boxes_.Show(caption, WithMacroName(text), [this](const std::string& c, const std::string& t) {
    if (forms_ != nullptr && prompts_.Message(c, t)) return;
    SystemBox(c, t);
  });
}

void RunFrame::MyMessage(const std::string& caption, const std::string& text) {
  longTexts_.Show(caption, WithMacroName(text), [this](const std::string& c, const std::string& t) {
    if (forms_ != nullptr && prompts_.LongMessage(c, t)) return;
    SystemBox(c, t);
  });
}

void RunFrame::ProcessStringVar(std::string& text, std::size_t maxLength) {
  player::ProcessStringVar(text, maxLength, state_.vars);
}

bool RunFrame::ProcessAnsiStringVar(std::string& text) { return player::ProcessAnsiStringVar(text, state_.vars); }

std::optional<bool> RunFrame::MacroActiveByNickname(const std::string& nickname) {
  const int count = std::min<int>(block_.MacroCount(), kMacroSlots);
  for (int i = 1; i <= count; ++i) {
    if (settings_.nicknames[static_cast<std::size_t>(i)] == nickname) return block_.MacroActive(i);
  }
  return std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// In-use pattern, timers, hooks

void RunFrame::BeginInUse() {
  block_.SetInUse(true);
  hook_.WdxUpInUse(block_);
  // The editor hears of it from the message queue, which the run turns after its first key:
  // looking for an editor that is not there walks every top-level window, and the hot key's
  // first character would wait for that. The notice still comes before the end's, which the
  // hook library's end marker or a timer brings through the same queue later.
  if (!PostToSelf(kInUseNoticeMessage)) editor_.Tell(editor_notice::kDataGroup, data_group::kInUse);
}

void RunFrame::EndInUse() {
  PostVKey(vk::kExecute, false);
  PostVKey(vk::kExecute, true);
  if (platform_.loop) platform_.loop->SetTimer(mainWindow_, kClearTimerId, kClearTimerMs);
}

void RunFrame::ClearInUse() {
  block_.SetInUse(false);
  hook_.WdxUpInUse(block_);
  editor_.Tell(editor_notice::kDataGroup, data_group::kInUse);
}

void RunFrame::ClearTimerTimer() {
  if (platform_.loop) platform_.loop->KillTimer(mainWindow_, kClearTimerId);
  ClearInUse();
}

void RunFrame::HookTimerTimer() {
  if (platform_.loop) platform_.loop->KillTimer(mainWindow_, kHookTimerId);
  TestHooks();
}

void RunFrame::ReinstallHooks() {
  hook_.WdxUnHook(block_.KeyboardHook());
  block_.SetKeyboardHook(hook_.WdxHookKeyboard());
  hook_.WdxUpKeyHook(block_);
  hook_.WdxUnHook(block_.MouseHook());
  block_.SetMouseHook(hook_.WdxHookMouse());
  hook_.WdxUpMouseHook(block_);
}

void RunFrame::WaitForMessage(std::uint32_t ms) {
  if (platform_.loop) {
    platform_.loop->WaitAndPump(ms);
  } else {
    PumpMessages();
  }
}

namespace {
std::size_t WaitFlagOf(WaitReport report) {
  switch (report) {
    case WaitReport::kClick: return glob::kWaitClick;
    case WaitReport::kKey: return glob::kWaitKey;
    case WaitReport::kText: return glob::kWaitText;
    case WaitReport::kKeySync: return glob::kWaitKeySync;
  }
  return glob::kWaitClick;
}
}  // namespace

bool RunFrame::AskForReport(WaitReport report, bool on) {
  block_.SetWaitFlag(WaitFlagOf(report), on);
  hook_.WdxUpWaits(block_);
  return true;
}

bool RunFrame::ReportAsked(WaitReport report) { return block_.WaitFlag(WaitFlagOf(report)); }

std::optional<std::vector<std::string>> RunFrame::RunningPrograms(bool listAgain) {
  if (listAgain && listPrograms_) listPrograms_();
  std::vector<std::string> names;
  const int count = std::clamp<int>(block_.RunningCount(), 0, kGlobMaxRunningPrograms);
  for (int i = 1; i <= count; ++i) names.push_back(block_.RunningProgram(i));
  return names;
}

void RunFrame::TestHooks() {
  if (!state_.macroPlaying) ReinstallHooks();
}

bool RunFrame::HandleRunFrameMessage(const platform::Message& m) {
  switch (m.message) {
    case UM_ABORTMACRO:
      state_.abortMacro = true;
      return true;
    case UM_CAPSLOCKSTATE:
      state_.capsLockOn = m.wparam != 0;
      return true;
    case UM_NUMLOCKSTATE:
      state_.numLockOn = m.wparam != 0;
      return true;
    case UM_SCROLLLOCKSTATE:
      state_.scrollLockOn = m.wparam != 0;
      return true;
    case UM_CLEARINUSE:
      ClearInUse();
      return true;
    case UM_TEXTBOXCLOSED:
      prompts_.TextBoxes().Closed(static_cast<std::uint32_t>(m.lparam));
      return true;
    // The wait commands' reports. The hook library cleared its own keystroke-sync flag.
    case UM_KEYSYNCDONE:
      block_.SetWaitFlag(glob::kWaitKeySync, false);
      return true;
    case UM_MOUSESEEN:
      if (m.wparam >= 1 && m.wparam <= 3) state_.clickSeen[m.wparam - 1] = true;
      return true;
    case UM_KEYSEEN:
      state_.keySeenCode = static_cast<std::uint32_t>(m.wparam);
      return true;
    // The hook library's diagnostic trace is not written: a message from any program must not
    // choose a file for the player to write.
    case UM_HOOKTRACE:
      return true;
    case kInUseNoticeMessage:
      editor_.Tell(editor_notice::kDataGroup, data_group::kInUse);
      return true;
    case kRunningIconMessage:
      // A run that ended before its queue turned (nothing to type) shows nothing.
      if (state_.macroPlaying) ShowRunningIcon();
      return true;
    case platform::msg::kTimer:
      switch (m.wparam) {
        case kClearTimerId: ClearTimerTimer(); return true;
        case kHookTimerId: HookTimerTimer(); return true;
        default: return false;
      }
    default:
      return false;
  }
}

}  // namespace wdx::player
