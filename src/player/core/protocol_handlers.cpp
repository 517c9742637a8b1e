// The main window's messages: dispatch, UM_CONTROL, the run requests, the text channels, a
// second player's command line and the editor's test run.
#include <algorithm>

#include "player/core/main_win.h"

namespace wdx::player {

std::int64_t TMainWin::HandleMessage(const platform::Message& m) {
  ++depth_;
  const std::int64_t result = Dispatch(m);
  --depth_;
  if (depth_ == 0 && !state_.macroPlaying) HandleHeldRequests();
  // A close asked for while a handler (a run, a message box) was busy happens once the
  // outermost handler is done, so nothing a run still uses is freed under it.
  if (depth_ == 0 && closeRequested_ && !closing && !state_.macroPlaying) DoClose();
  return result;
}

std::int64_t TMainWin::Dispatch(const platform::Message& m) {
  if (HandleRunFrameMessage(m)) return 0;
  if (m.message == platform::msg::kClose) {
    RequestClose();
    return 0;
  }
  // Once closing is asked for, nothing new starts.
  if (closing || closeRequested_) return 0;
  switch (m.message) {
    case platform::msg::kTimer:
      HandleTimer(static_cast<std::uint32_t>(m.wparam));
      return 0;
    case UM_HOTKEY:
      OnHotKey(static_cast<std::uint32_t>(m.wparam), static_cast<platform::WindowHandle>(m.lparam));
      return 0;
    case UM_CONTROL:
      OnControl(static_cast<std::uint32_t>(m.wparam), m.lparam);
      return 0;
    case UM_RUNREQUEST:
      OnRunRequest(m.lparam);
      return 0;
    case UM_NICKNAMECHAR:
    case UM_FILENAMECHAR:
    case UM_VARIABLESCHAR:
      OnTextChannel(m.message, m.wparam);
      return 0;
    case UM_COMMANDLINECHAR:
      OnCommandLineChar(m.lparam);
      return 0;
    case UM_TESTRUN:
      OnTestRun();
      return 0;
    default:
      HandleLaterMessage(m);
      return 0;
  }
}

bool TMainWin::HandleTimer(std::uint32_t id) {
  switch (id) {
    case kMyTimerId:
      MyTimerTimer();
      return true;
    case kTimer2Id:
      platform_.loop->KillTimer(MainWindow(), kTimer2Id);
      StartupMacros();
      return true;
    case kSyncTimerId:
      SyncTimerTimer();
      return true;
    default:
      return false;
  }
}

void TMainWin::SyncTimerTimer() {
  if (++syncTicks < settings_.syncMinutes) return;
  ReloadEverything();
  syncTicks = 0;
}

void TMainWin::GetGlobDataItem(int group, int macro) { hook::GetGlobDataItem(hook_, block_, group, macro); }

// ---------------------------------------------------------------------------------------------
// UM_CONTROL

void TMainWin::OnControl(std::uint32_t code, std::int64_t argument) {
  if (closing) return;
  switch (code) {
    case control::kRemapChanged:
      GetSwapFile();
      ReinstallRemapHook();
      break;
    case control::kLibraryReplaced:
      configs_.ReadCurrentFile();
      if (settings_.networkMode) ReadStamp();
      ReloadEverything();
      break;
    case control::kSchedulesChanged:
      CheckAndSetTime();
      break;
    case control::kEditorClosing:
      editor_->Forget();
      break;
    case control::kMenuIcons:
      ClearMenuTaskIcon();
      DoMenuTaskIcon();
      break;
    case control::kDataGroup:
      GetGlobDataItem(static_cast<int>(argument));
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
      GetGlobDataItem(data_group::kMacroEntries, static_cast<int>(std::clamp<std::int64_t>(argument, -1, kGlobMaxMacros + 1)));
      break;
    case control::kMainIcon:
      if (argument == 0 || argument == 1) SetMainIconActive(argument == 1);
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
      if (argument > 0) ClearMenuTaskIcon();
      ClearMenuOnTop();
      library_.ReloadMacroLibrary();
      GetSwapFile();
      SetHotKeys();
      CheckAndSetTime();
      if (argument > 0) DoMenuTaskIcon();
      LoadUpFloaters();
      break;
    case control::kOpenFloater:
      AddMenuOnTop(static_cast<int>(std::clamp<std::int64_t>(argument, -1, kGlobMaxMacros + 1)));
      break;
    case control::kReopenFloaters:
      ClearMenuOnTop();
      LoadUpFloaters();
      break;
    case control::kCloseFloater:
      DelMenuOnTop(static_cast<int>(std::clamp<std::int64_t>(argument, -1, kGlobMaxMacros + 1)));
      break;
    case control::kReloadMouse:
      ClearMouse();
      LoadUpMouse();
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

// ---------------------------------------------------------------------------------------------
// Text channels and a second player's command line

void TMainWin::OnTextChannel(std::uint32_t message, std::uint64_t wparam) {
  std::string& buffer = message == UM_NICKNAMECHAR   ? buffers.nickname
                        : message == UM_FILENAMECHAR ? buffers.singleMacroFile
                                                     : buffers.variables;
  if (static_cast<std::int32_t>(wparam) > 0) {
    AppendChannelChar(buffer, static_cast<std::uint8_t>(wparam));
    return;
  }
  buffer = UpperAscii(buffer);
  if (message == UM_NICKNAMECHAR) {
    platform_.windows->PostMessage(MainWindow(), UM_RUNREQUEST, 0, run_request::kNickname);
  } else if (message == UM_FILENAMECHAR) {
    platform_.windows->PostMessage(MainWindow(), UM_RUNREQUEST, 0, run_request::kSingleMacroFile);
  } else {
    SetCommandVariables(buffer, state_.saved);
    buffer.clear();
  }
}

void TMainWin::OnCommandLineChar(std::int64_t byte) {
  // Only an lParam of 0 ends the line; any other appends its low byte.
  if (byte != 0) {
    AppendChannelChar(buffers.nickname, static_cast<std::uint8_t>(byte));
    return;
  }
  const std::string line = UpperAscii(buffers.nickname);
  buffers.libraryPath = line;
  buffers.singleMacroFile = line;
  SetCommandVariables(line, state_.saved);
  const auto request = [this](std::string_view sw, std::string& buffer, int kind) {
    std::string value;
    if (SwitchValue(buffer, sw, value)) {
      buffer = value;
      platform_.windows->PostMessage(MainWindow(), UM_RUNREQUEST, 0, kind);
    } else {
      buffer.clear();
    }
  };
  buffers.nickname = line;
  request("/A", buffers.nickname, run_request::kNickname);
  request("/F", buffers.libraryPath, run_request::kSwitchLibrary);
  request("/WRM", buffers.singleMacroFile, run_request::kSingleMacroFile);
}

// ---------------------------------------------------------------------------------------------
// Run requests and the test run

std::string* TMainWin::RequestBuffer(std::int64_t kind) {
  switch (kind) {
    case run_request::kNickname:
      return &buffers.nickname;
    case run_request::kSwitchLibrary:
      return &buffers.libraryPath;
    case run_request::kSingleMacroFile:
      return &buffers.singleMacroFile;
    default:
      return nullptr;
  }
}

void TMainWin::HandleHeldRequests() {
  while (!heldRequests_.empty() && !closing && !closeRequested_) {
    HeldRequest r = std::move(heldRequests_.front());
    heldRequests_.erase(heldRequests_.begin());
    ++depth_;
    *RequestBuffer(r.kind) = std::move(r.text);
    OnRunRequest(r.kind);
    --depth_;
  }
}

void TMainWin::OnRunRequest(std::int64_t kind) {
  std::string* buffer = RequestBuffer(kind);
  if (!buffer) return;
  if (state_.macroPlaying) {
    heldRequests_.push_back({kind, std::move(*buffer)});
    buffer->clear();
    return;
  }
  switch (kind) {
    case run_request::kNickname:
      RunByNickname();
      buffers.nickname.clear();
      break;
    case run_request::kSwitchLibrary:
      SwitchLibrary();
      buffers.libraryPath.clear();
      break;
    case run_request::kSingleMacroFile:
      PlaySingleMacroFile();
      buffers.singleMacroFile.clear();
      break;
    default:
      break;
  }
}

void TMainWin::RunByNickname() {
  if (buffers.nickname.empty()) return;
  const int count = MacroLimit();
  for (int i = 1; i <= count; ++i) {
    if (UpperAscii(settings_.nicknames[static_cast<std::size_t>(i)]) != buffers.nickname) continue;
    if (state_.popupShowing) {
      DoAMessage(kWarningCaption, kPopupShowingText);
    } else if (block_.CaptureOn()) {
      DoAMessage(kWarningCaption, kRecordingText);
    } else if (!state_.macroPlaying) {
      state_.currentMacroNumber = i;
      RunCurrentMacro(RunPath::kOther);
    }
    return;
  }
}

void TMainWin::SwitchLibrary() {
  // An empty path names no library (the file would be created under no name at all).
  if (buffers.libraryPath.empty()) return;
  settings_.currentLibrary = buffers.libraryPath;
  configs_.WriteCurrentFile();
  if (settings_.networkMode) ReadStamp();
  // Everything that derives from the library follows it, its remap table included.
  ReloadEverything();
  TellEditor(editor_notice::kLibrarySwitched, 0);
}

void TMainWin::PlaySingleMacroFile() {
  const std::optional<std::string> text =
      buffers.singleMacroFile.empty() ? std::nullopt : ReadSingleMacroFile(NativePath(buffers.singleMacroFile));
  if (!text) {
    DoAMessage(kErrorCaption, kSingleMacroOpenError);
    return;
  }
  // While another macro plays nothing of this request may touch the in-use state (StartRun
  // does nothing then): its end marker would tell the hook library that the playing macro's
  // keys are over.
  StartRun({*text, kSingleMacroName, activation::kNone, true, true});
}

void TMainWin::OnTestRun() {
  PauseForNoSpeed(0.2);
  if (state_.macroPlaying) {
    DoAMessage(kErrorCaption, kTestRunBusyText);
    return;
  }
  const std::optional<std::string> text = ReadSingleMacroFile(NativePath(programFolder_ + "\\" + kTestRunFileName));
  if (!text) {
    DoAMessage(kErrorCaption, kTestRunOpenError);
    return;
  }
  // A test run leaves Caps Lock off and the in-use flag alone.
  StartRun({*text, kTestRunName, activation::kNone, false, false});
}

}  // namespace wdx::player
