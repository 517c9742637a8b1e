#include "player/core/hot_key_router.h"

#include <optional>

#include "platform/input.h"
#include "platform/virtual_keys.h"
#include "player/prompts/menu_layout.h"
#include "shared/hot_keys.h"

namespace wdx::player {

namespace {
constexpr char kPauseTitleMark[] = "PAUSE (";
}  // namespace

HotKeyRouter::HotKeyRouter(platform::Platform& platform, hook::HookLibrary& hook, TGlobData& block, RunFrame& frame,
                           RunCoordinator& runs, WindowActivation& activation, EditorPeer& editor,
                           MainWindowActions& main, ProgramWatcher& programs, Recorder& recorder, MacroMenus& menus)
    : platform_(platform),
      hook_(hook),
      block_(block),
      frame_(frame),
      runs_(runs),
      activation_(activation),
      editor_(editor),
      main_(main),
      programs_(programs),
      recorder_(recorder),
      menus_(menus) {}

void HotKeyRouter::SetHotKeys() {
  RebuildHotKeyMap(block_);
  hook_.WdxUpKeys(block_);
  editor_.Tell(editor_notice::kDataGroup, data_group::kHotKeyMap);
}

int HotKeyRouter::SystemMacroFor(int key) const {
  const int count = MacroLimit(block_);
  for (int i = 1; i <= count; ++i)
    if (block_.ScopeKind(i) == scope::kSystem && block_.ActivationCode(i) == key) return i;
  return 0;
}

int HotKeyRouter::GetMacro(int index) { return ChooseMacro(index, true); }

int HotKeyRouter::ChooseMacro(int index, bool activate) {
  const int count = MacroLimit(block_);
  const platform::WindowHandle front = platform_.windows->GetForegroundWindow();
  const std::string title = activation_.UpperTitle(front);
  // Pass 1: a macro scoped to the window or program in front. Skipped while a PAUSE window is
  // in front, which would otherwise hide the window the macro works on.
  if (title.find(kPauseTitleMark) == std::string::npos) {
    // The program in front as it is now (the hook library's reports of foreground changes may
    // come after the key), looked up only for a program-scoped macro on this key: asking
    // another process for its name costs milliseconds of the hot key's answer.
    std::optional<std::string> program;
    const auto programInFront = [&]() -> const std::string& {
      if (!program) {
        programs_.TakeForegroundProgram(front);
        program = UpperAscii(block_.ForegroundProgram());
      }
      return *program;
    };
    for (int i = 1; i <= count; ++i) {
      if (block_.ActivationCode(i) != index || !block_.MacroActive(i)) continue;
      const std::int16_t kind = block_.ScopeKind(i);
      if (kind != scope::kWindow && kind != scope::kProgram) continue;
      const std::string scope = UpperAscii(block_.ScopeText(i));
      const bool match = kind == scope::kWindow ? title.find(scope) != std::string::npos
                                                : programInFront().find(scope) != std::string::npos;
      if (!match) continue;
      if (activate) frame_.State().targetWindow = front;
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
      const bool found = activate ? activation_.ActivateIt(scope, frame_.State().targetWindow)
                                  : activation_.GetWinHandle(scope) != platform::kNoWindow;
      if (found) return i;
    } else if (kind == scope::kProgram && block_.WindowMatch(i) == 0) {
      const std::string scope = UpperAscii(block_.ScopeText(i));
      const int running = std::clamp(block_.RunningCount(), 0, kGlobMaxRunningPrograms);
      for (int r = 1; r <= running; ++r) {
        if (block_.RunningProgram(r).find(scope) == std::string::npos) continue;
        if (activate) activation_.ActivateProg(scope, frame_.State().targetWindow);
        return i;
      }
    }
  }
  return candidate;
}

void HotKeyRouter::OnHotKey(std::uint32_t w, platform::WindowHandle window) {
  RunState& state = frame_.State();
  if (state.popupShowing) {
    frame_.DoAMessage(kWarningCaption, kPopupShowingText);
    return;
  }
  if (block_.CaptureOn()) {
    frame_.DoAMessage(kWarningCaption, kRecordingText);
    return;
  }
  if ((w & kHotKeyMacroBit) != 0) {
    // A tray menu icon names its macro. Nothing of a playing macro may change under it.
    runs_.RunMacro(static_cast<int>(w & kHotKeyMacroMask), RunPath::kHotKey);
    return;
  }
  state.menuPosition = kMenuCentred;
  const bool caps = (w & kHotKeyCapsBit) != 0;
  const int key = static_cast<int>(w & ~kHotKeyCapsBit);
  if (state.pauseShowing) {
    OnKeyDuringPause(key, caps);
    return;
  }
  if (state.macroPlaying) {
    // A key pressed while a macro plays changes nothing of that run (its macro, its target
    // window, its record) and brings nothing to the front; only the terminate key is heard,
    // and it lets the run stop before the player closes.
    const int system = SystemMacroFor(key);
    if (system > 0 && block_.ScopeText(system).rfind('5', 0) == 0) main_.RequestClose();
    return;
  }
  state.currentMacroNumber = key;
  if (!block_.InUse()) state.capsWasOn = caps;
  state.targetWindow = window;
  if (main_.ReloadIfChangedOnDisk()) {
    // Another user changed the library: it was reloaded (the hot-key map with it); the key
    // comes round again, so the reloaded map decides.
    ResendKey(key);
    return;
  }
  if (const int system = SystemMacroFor(key); system > 0) {
    RunSystemMacro(system);
    return;
  }
  runs_.RunMacro(GetMacro(key), RunPath::kHotKey);
}

void HotKeyRouter::OnKeyDuringPause(int key, bool caps) {
  RunState& state = frame_.State();
  // Only the resume key or the paused macro's own key ends the PAUSE. The comparison brings
  // no window up and leaves the playing macro's target alone.
  // Any resume macro on the key counts, not only the first system macro that has it.
  bool resumeKey = false;
  for (int i = 1; i <= MacroLimit(block_) && !resumeKey; ++i)
    resumeKey = block_.ScopeKind(i) == scope::kSystem && block_.ActivationCode(i) == key &&
                block_.ScopeText(i).rfind('3', 0) == 0;
  if (!resumeKey && ChooseMacro(key, false) != state.currentMacroNumber) {
    frame_.DoAMessage(kWarningCaption, kPauseText);
    return;
  }
  if (caps) {
    frame_.PostVKey(vk::kCapital, false);
    frame_.PostVKey(vk::kCapital, true);
  }
  runs_.ResumePause();
}

void HotKeyRouter::RunSystemMacro(int system) {
  const std::string which = block_.ScopeText(system);
  switch (which.empty() ? '\0' : which[0]) {
    case '5':
      main_.RequestClose();
      break;
    case '1':
      main_.OpenEditor(false);
      break;
    case '2':
      recorder_.StartOrStop();
      break;
    case '4':
      menus_.ShowTopWindowMenu();
      break;
    default:
      break;
  }
}

void HotKeyRouter::ResendKey(int key) {
  const HotKey k = DecipherKey(key);
  if (k.win) frame_.PostVKey(vk::kRWin, false);
  if (k.alt) frame_.PostVKey(vk::kMenu, false);
  if (k.ctrl) frame_.PostVKey(vk::kControl, false);
  if (k.shift) frame_.PostVKey(vk::kShift, false);
  if (k.mouse != MouseButtonKind::kNone) {
    frame_.PauseForNoSpeed(0.05);
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
    frame_.PostVKey(k.virtualKey, false);
    frame_.PostVKey(k.virtualKey, true);
  }
  if (k.shift) frame_.PostVKey(vk::kShift, true);
  if (k.ctrl) frame_.PostVKey(vk::kControl, true);
  if (k.alt) frame_.PostVKey(vk::kMenu, true);
  if (k.win) frame_.PostVKey(vk::kRWin, true);
}

}  // namespace wdx::player
