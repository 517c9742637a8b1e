// The main window's messages: the routing of every message and timer to the part it belongs
// to, and the UM_CONTROL codes of the editor.
#include <algorithm>

#include "player/core/main_win.h"

namespace wdx::player {

std::int64_t TMainWin::HandleMessage(const platform::Message& m) {
  ++depth_;
  const std::int64_t result = Dispatch(m);
  --depth_;
  if (depth_ == 0) HandleHeldRequests();
  // A close asked for while a handler (a run, a message box) was busy happens once the
  // outermost handler is done, so nothing a run still uses is freed under it.
  if (depth_ == 0 && closeRequested_ && !closing_ && !State().macroPlaying) DoClose();
  return result;
}

void TMainWin::HandleHeldRequests() {
  while (!closing_ && !closeRequested_ && !State().macroPlaying) {
    ++depth_;
    const bool handled = runs_.HandleHeldRequest();
    --depth_;
    if (!handled) return;
  }
}

std::int64_t TMainWin::Dispatch(const platform::Message& m) {
  if (frame_.HandleRunFrameMessage(m)) return 0;
  if (m.message == platform::msg::kClose) {
    RequestClose();
    return 0;
  }
  // Once closing is asked for, nothing new starts.
  if (closing_ || closeRequested_) return 0;
  switch (m.message) {
    case platform::msg::kTimer:
      HandleTimer(static_cast<std::uint32_t>(m.wparam));
      break;
    case UM_HOTKEY:
      hotKeys_.OnHotKey(static_cast<std::uint32_t>(m.wparam), static_cast<platform::WindowHandle>(m.lparam));
      break;
    case UM_CONTROL:
      OnControl(static_cast<std::uint32_t>(m.wparam), m.lparam);
      break;
    case UM_RUNREQUEST:
      runs_.OnRunRequest(m.lparam);
      break;
    case UM_NICKNAMECHAR:
    case UM_FILENAMECHAR:
    case UM_VARIABLESCHAR:
      runs_.OnTextChannel(m.message, m.wparam);
      break;
    case UM_COMMANDLINECHAR:
      runs_.OnCommandLineChar(m.lparam);
      break;
    case UM_TESTRUN:
      runs_.OnTestRun();
      break;
    case UM_FOREGROUND:
      parts_.programs->ForegroundChanged(static_cast<platform::WindowHandle>(m.wparam));
      parts_.windows->ForegroundChanged(static_cast<platform::WindowHandle>(m.wparam));
      break;
    case UM_PROGRAMSCHANGED:
      parts_.programs->ProgramsChanged();
      break;
    case UM_MOUSELEFT:
    case UM_MOUSERIGHT:
    case UM_MOUSEMIDDLE:
      parts_.mouse->Clicked(static_cast<int>(m.message - UM_MOUSELEFT) + 1, m.wparam, m.lparam);
      break;
    case UM_CAPTURECHAR:
      parts_.recorder->Captured(static_cast<std::uint8_t>(m.lparam));
      break;
    case UM_CAPTUREDONE:
      parts_.recorder->Done(static_cast<int>(m.wparam));
      break;
    case UM_ABBREKEYCHAR:
      parts_.abbrekeys->Typed(m.wparam, static_cast<std::uint8_t>(m.lparam));
      break;
    case UM_TYPEDCHAR:
      parts_.abbrekeys->TypedForWait(m.wparam, static_cast<std::uint8_t>(m.lparam));
      break;
    case UM_IDLEENDED:
      parts_.scheduler->IdleEnded();
      break;
    case platform::msg::kSysCommand:
      // The hidden window never minimises; the screen saver waits while timed macros may type.
      if ((m.wparam & 0xFFF0) == platform::sc::kMinimize) return 0;
      if ((m.wparam & 0xFFF0) == platform::sc::kScreenSave && parts_.scheduler->RefusesScreenSaver()) return -1;
      return platform::kDefaultHandling;
    default:
      break;
  }
  return 0;
}

void TMainWin::HandleTimer(std::uint32_t id) {
  switch (id) {
    case kScheduleTimerId:
      parts_.scheduler->Tick();
      break;
    case kStartupTimerId:
      platform_.loop->KillTimer(MainWindow(), kStartupTimerId);
      parts_.scheduler->RunStartupMacros(options_);
      break;
    case kSyncTimerId:
      sync_.SyncTimerTimer();
      break;
    case kNetTimerId:
      sync_.NetTimerTimer();
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// UM_CONTROL

void TMainWin::OnControl(std::uint32_t code, std::int64_t argument) {
  if (closing_) return;
  switch (code) {
    case control::kRemapChanged:
      GetSwapFile();
      ReinstallRemapHook();
      break;
    case control::kLibraryReplaced:
      configs_.ReadCurrentFile();
      if (settings_.networkMode) sync_.ReadStamp();
      ReloadEverything();
      break;
    case control::kSchedulesChanged:
      parts_.scheduler->CheckAndSetTime();
      break;
    case control::kEditorClosing:
      parts_.editor->Forget();
      break;
    case control::kMenuIcons:
      parts_.tray->ClearMenuIcons();
      parts_.tray->LoadMenuIcons();
      break;
    case control::kDataGroup:
      hook::GetGlobDataItem(hook_, block_, static_cast<int>(argument));
      break;
    case control::kHooks:
      switch (argument) {
        case hook_switch::kKeyboardOn:
          block_.SetKeyboardHook(hook_.WdxHookKeyboard());
          hook_.WdxUpKeyHook(block_);
          break;
        case hook_switch::kKeyboardOff:
          hook_.WdxUnHook(block_.KeyboardHook());
          break;
        case hook_switch::kMouseOn:
          block_.SetMouseHook(hook_.WdxHookMouse());
          hook_.WdxUpMouseHook(block_);
          break;
        case hook_switch::kMouseOff:
          hook_.WdxUnHook(block_.MouseHook());
          break;
        default:
          break;
      }
      break;
    case control::kMacroEntries:
      hook::GetGlobDataItem(hook_, block_, data_group::kMacroEntries,
                            static_cast<int>(std::clamp<std::int64_t>(argument, -1, kGlobMaxMacros + 1)));
      break;
    case control::kMainIcon:
      if (argument == 0 || argument == 1) parts_.tray->SetActive(argument == 1);
      break;
    case control::kReadAbbrekeys:
      configs_.ReadAbbrekeysSection();
      break;
    case control::kReadCapture:
      configs_.ReadCaptureSection();
      break;
    case control::kReadNetwork:
      configs_.ReadNetworkSection();
      break;
    case control::kReadEMail:
      configs_.ReadEMailSection();
      break;
    case control::kReadScheduler:
      configs_.ReadSchedulerSection();
      break;
    case control::kReadMisc:
      configs_.ReadMiscSection();
      break;
    case control::kReadPrintListFont:
      configs_.ReadPrintListFontSection();
      break;
    case control::kReadMainWindow:
      configs_.ReadMainWindowSection();
      break;
    case control::kReadGridFont:
      configs_.ReadGridFontSection();
      break;
    case control::kReadGridTitleFont:
      configs_.ReadGridTitleFontSection();
      break;
    case control::kReadScriptPage:
      configs_.ReadScriptPageSection();
      break;
    case control::kRecordRewritten:
      RecordRewritten(static_cast<int>(std::clamp<std::int64_t>(argument, -1, kGlobMaxMacros + 1)));
      break;
    case control::kReload:
      if (argument > 0) parts_.tray->ClearMenuIcons();
      parts_.menus->CloseFloaters();
      // The mouse areas name macros by number: after a reload they are built again.
      parts_.mouse->Clear();
      LoadCurrentLibrary();
      GetSwapFile();
      hotKeys_.SetHotKeys();
      parts_.scheduler->CheckAndSetTime();
      if (argument > 0) parts_.tray->LoadMenuIcons();
      parts_.menus->OpenFloaters();
      parts_.mouse->Load();
      break;
    case control::kOpenFloater:
      parts_.menus->OpenFloater(static_cast<int>(std::clamp<std::int64_t>(argument, -1, kGlobMaxMacros + 1)));
      break;
    case control::kReopenFloaters:
      parts_.menus->CloseFloaters();
      parts_.menus->OpenFloaters();
      break;
    case control::kCloseFloater:
      parts_.menus->CloseFloater(static_cast<int>(std::clamp<std::int64_t>(argument, -1, kGlobMaxMacros + 1)));
      break;
    case control::kReloadMouse:
      parts_.mouse->Clear();
      parts_.mouse->Load();
      break;
    case control::kClosePlayer:
      RequestClose();
      break;
    default:
      break;
  }
}

void TMainWin::RecordRewritten(int n) {
  if (n < 1 || n > kGlobMaxMacros) return;
  TMacroRec r;
  if (!library_.ReadMacroRecord(n, r)) return;
  const auto i = static_cast<std::size_t>(n);
  settings_.nicknames[i] = r.Nickname();
  settings_.abbrekeys[i] = r.Abbrekey();
  settings_.categories[i] = r.Category();
  settings_.caseModes[i] = r.CaseMode();
  settings_.removals[i] = r.Removal();
  block_.SetScopeKind(n, r.ScopeKind());
  block_.SetScopeText(n, r.ScopeText());
  block_.SetWindowMatch(n, r.WindowMatch());
  block_.SetActivationCode(n, r.ActivationCode());
  block_.SetMacroActive(n, r.Active() != 0);
}

}  // namespace wdx::player
