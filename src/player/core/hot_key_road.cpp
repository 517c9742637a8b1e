// The hot-key road: from UM_HOTKEY to a running macro, the hot-key map the hook library
// watches, the choice among macros that share a key, and the run step.
#include "platform/input.h"
#include "platform/virtual_keys.h"
#include "player/core/main_win.h"
#include "shared/hot_keys.h"

namespace wdx::player {

namespace {
constexpr char kPauseTitleMark[] = "PAUSE (";
// How long a hot-key run waits for the user to let go of the hot key's modifiers.
constexpr std::uint32_t kModifierReleaseLimitMs = 2000;
constexpr std::uint32_t kModifierPollMs = 5;
}  // namespace

void TMainWin::WaitForModifiersUp() {
  if (!platform_.input || !platform_.clock) return;
  platform::Input& in = *platform_.input;
  const auto anyDown = [&in] {
    for (const std::uint8_t k : {vk::kShift, vk::kControl, vk::kMenu, vk::kLWin, vk::kRWin})
      if (in.GetAsyncKeyState(k) & 0x8000) return true;
    return false;
  };
  const std::uint32_t start = platform_.clock->TickCount();
  // No messages are handled meanwhile: nothing may start or change before this run begins.
  while (anyDown() && platform_.clock->TickCount() - start < kModifierReleaseLimitMs)
    platform_.clock->Sleep(kModifierPollMs);
}

void TMainWin::SetHotKeys() {
  block_.ClearHotKeyMap();
  const int count = MacroLimit();
  for (int i = 1; i <= count; ++i) {
    const std::uint16_t code = block_.ActivationCode(i);
    if (IsHotKeyIndex(code) && block_.MacroActive(i)) block_.SetHotKeyMapped(code, true);
  }
  block_.SetAbbrekeysPresent(ThereAreAbbrekeys(block_));
  hook_.WdxUpKeys(block_);
  TellEditor(editor_notice::kDataGroup, data_group::kHotKeyMap);
}

void TMainWin::SetSecWind(platform::WindowHandle w, bool on) {
  block_.SetSecondaryWindow(w, on);
  hook_.WdxUpWindow2(block_);
  TellEditor(editor_notice::kDataGroup, data_group::kSecondaryWindow);
}

int TMainWin::SystemMacroFor(int key) const {
  const int count = MacroLimit();
  for (int i = 1; i <= count; ++i)
    if (block_.ScopeKind(i) == scope::kSystem && block_.ActivationCode(i) == key) return i;
  return 0;
}

int TMainWin::GetMacro(int index) { return ChooseMacro(index, true); }

int TMainWin::ChooseMacro(int index, bool activate) {
  const int count = MacroLimit();
  const platform::WindowHandle front = platform_.windows->GetForegroundWindow();
  const std::string title = activation_.UpperTitle(front);
  // Pass 1: a macro scoped to the window or program in front. Skipped while a PAUSE window is
  // in front, which would otherwise hide the window the macro works on.
  if (title.find(kPauseTitleMark) == std::string::npos) {
    const std::string program = UpperAscii(block_.ForegroundProgram());
    for (int i = 1; i <= count; ++i) {
      if (block_.ActivationCode(i) != index || !block_.MacroActive(i)) continue;
      const std::int16_t kind = block_.ScopeKind(i);
      const std::string scope = UpperAscii(block_.ScopeText(i));
      const bool match = (kind == scope::kWindow && title.find(scope) != std::string::npos) ||
                         (kind == scope::kProgram && program.find(scope) != std::string::npos);
      if (!match) continue;
      if (activate) state_.targetWindow = front;
      return i;
    }
  }
  // Pass 2: a scoped macro whose window or program merely runs (brought to the front), else the
  // last global one. A disabled macro is never chosen.
  int candidate = 0;
  for (int i = 1; i <= count; ++i) {
    if (block_.ActivationCode(i) != index || !block_.MacroActive(i)) continue;
    const std::int16_t kind = block_.ScopeKind(i);
    if (kind == scope::kGlobal || kind == scope::kPopupMenu || kind == scope::kSystem ||
        kind == scope::kFloatingMenu) {
      candidate = i;
    } else if (kind == scope::kWindow && block_.WindowMatch(i) == 0) {
      const std::string scope = block_.ScopeText(i);
      const bool found = activate ? activation_.ActivateIt(scope, state_.targetWindow)
                                  : activation_.GetWinHandle(scope) != platform::kNoWindow;
      if (found) return i;
    } else if (kind == scope::kProgram && block_.WindowMatch(i) == 0) {
      const std::string scope = UpperAscii(block_.ScopeText(i));
      const int running = std::clamp(block_.RunningCount(), 0, kGlobMaxRunningPrograms);
      for (int r = 1; r <= running; ++r) {
        if (block_.RunningProgram(r).find(scope) == std::string::npos) continue;
        if (activate) activation_.ActivateProg(scope, state_.targetWindow);
        return i;
      }
    }
  }
  return candidate;
}

void TMainWin::OnHotKey(std::uint32_t w, platform::WindowHandle window) {
  if (state_.popupShowing) {
    DoAMessage(kWarningCaption, kPopupShowingText);
    return;
  }
  if (block_.CaptureOn()) {
    DoAMessage(kWarningCaption, kRecordingText);
    return;
  }
  if ((w & kHotKeyMacroBit) != 0) {
    // A tray menu icon names its macro. Nothing of a playing macro may change under it.
    if (state_.macroPlaying) return;
    state_.currentMacroNumber = static_cast<std::int32_t>(w & kHotKeyMacroMask);
    RunCurrentMacro(RunPath::kHotKey);
    return;
  }
  const bool caps = (w & kHotKeyCapsBit) != 0;
  const int key = static_cast<int>(w & ~kHotKeyCapsBit);
  if (state_.pauseShowing) {
    // Only the resume key or the paused macro's own key ends the PAUSE. The comparison brings
    // no window up and leaves the playing macro's target alone.
    // Any resume macro on the key counts, not only the first system macro that has it.
    bool resumeKey = false;
    for (int i = 1; i <= MacroLimit() && !resumeKey; ++i)
      resumeKey = block_.ScopeKind(i) == scope::kSystem && block_.ActivationCode(i) == key &&
                  block_.ScopeText(i).rfind('3', 0) == 0;
    if (resumeKey || ChooseMacro(key, false) == state_.currentMacroNumber) {
      if (caps) {
        PostVKey(vk::kCapital, false);
        PostVKey(vk::kCapital, true);
      }
      ResumePause();
    } else {
      DoAMessage(kWarningCaption, kPauseText);
    }
    return;
  }
  if (state_.macroPlaying) {
    // A key pressed while a macro plays changes nothing of that run (its macro, its target
    // window, its record) and brings nothing to the front; only the terminate key is heard,
    // and it lets the run stop before the player closes.
    const int system = SystemMacroFor(key);
    if (system > 0 && block_.ScopeText(system).rfind('5', 0) == 0) RequestClose();
    return;
  }
  state_.currentMacroNumber = key;
  if (!block_.InUse()) state_.capsWasOn = caps;
  state_.targetWindow = window;
  if (settings_.networkMode && LibraryChangedOnDisk()) {
    // Another user changed the library: reload it (the hot-key map with it) and let the key
    // come round again, so the reloaded map decides.
    ReloadEverything();
    ResendKey(key);
    return;
  }
  if (const int system = SystemMacroFor(key); system > 0) {
    const std::string which = block_.ScopeText(system);
    switch (which.empty() ? '\0' : which[0]) {
      case '5':
        RequestClose();
        break;
      case '1':
        ActivateMe(false);
        break;
      case '2':
        StartACapture();
        break;
      case '4':
        MenuTopWindow();
        break;
      default:
        break;
    }
    return;
  }
  state_.currentMacroNumber = GetMacro(key);
  RunCurrentMacro(RunPath::kHotKey);
}

void TMainWin::ResendKey(int key) {
  const HotKey k = DecipherKey(key);
  if (k.win) PostVKey(vk::kRWin, false);
  if (k.alt) PostVKey(vk::kMenu, false);
  if (k.ctrl) PostVKey(vk::kControl, false);
  if (k.shift) PostVKey(vk::kShift, false);
  if (k.mouse != MouseButtonKind::kNone) {
    PauseForNoSpeed(0.05);
    std::uint32_t down = platform::mouseflag::kLeftDown, up = platform::mouseflag::kLeftUp;
    if (k.mouse == MouseButtonKind::kRight) {
      down = platform::mouseflag::kRightDown;
      up = platform::mouseflag::kRightUp;
    } else if (k.mouse == MouseButtonKind::kMiddle) {
      down = platform::mouseflag::kMiddleDown;
      up = platform::mouseflag::kMiddleUp;
    }
    if (platform_.input) {
      platform_.input->MouseEvent(down, 0, 0, 0);
      platform_.input->MouseEvent(up, 0, 0, 0);
    }
  } else if (k.virtualKey != 0) {
    PostVKey(k.virtualKey, false);
    PostVKey(k.virtualKey, true);
  }
  if (k.shift) PostVKey(vk::kShift, true);
  if (k.ctrl) PostVKey(vk::kControl, true);
  if (k.alt) PostVKey(vk::kMenu, true);
  if (k.win) PostVKey(vk::kRWin, true);
}

void TMainWin::RunCurrentMacro(RunPath path) {
  // One top-level run at a time: a request that arrives while one plays changes nothing.
  if (state_.macroPlaying) return;
  for (;;) {
    const int n = state_.currentMacroNumber;
    if (n <= 0 || n > MacroLimit()) return;
    // A record that cannot be read runs nothing (the buffer would still hold the last macro).
    if (!library_.ReadMacroRecord(n, currentRecord)) return;
    const std::int16_t kind = currentRecord.ScopeKind();
    if (kind == scope::kPopupMenu) {
      state_.popupShowing = true;
      const int chosen = ShowPopupMenu(n);
      state_.popupShowing = false;
      if (chosen <= 0) return;
      state_.currentMacroNumber = chosen;  // a chosen popup menu opens the next menu
      continue;
    }
    if (path == RunPath::kOther && kind == scope::kSystem) {
      if (currentRecord.ScopeText().rfind('4', 0) == 0) MenuTopWindow();
      return;
    }
    // The hot key's own Ctrl, Alt, Shift or Win may still be held: keys typed meanwhile would
    // reach the program as shortcuts and be lost as text.
    if (path == RunPath::kHotKey) WaitForModifiersUp();
    StartRun({currentRecord.Text(), currentRecord.Nickname(), currentRecord.ActivationCode(), true, true});
    return;
  }
}

}  // namespace wdx::player
