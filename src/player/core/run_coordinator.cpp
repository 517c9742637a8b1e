#include "player/core/run_coordinator.h"

#include <algorithm>
#include <system_error>

#include "platform/virtual_keys.h"
#include "player/core/command_line.h"
#include "player/prompts/menu_layout.h"

namespace wdx::player {

namespace {
// How long a hot-key run waits for the user to let go of the hot key's modifiers.
constexpr std::uint32_t kModifierReleaseLimitMs = 2000;
// The keys are usually let go within a few milliseconds of the hot key: a coarser poll would
// add most of its period to every hot key's answer.
constexpr std::uint32_t kModifierPollMs = 1;
}  // namespace

int MacroLimit(const TGlobData& block) { return std::clamp(block.MacroCount(), 0, kGlobMaxMacros); }

RunCoordinator::RunCoordinator(platform::Platform& platform, RunFrame& frame, MacroLibrary& library, TGlobData& block,
                               TSettingsRec& settings, MacroMenus& menus, MainWindowActions& main,
                               NativePathOf nativePath, std::string programFolder)
    : platform_(platform),
      frame_(frame),
      library_(library),
      block_(block),
      settings_(settings),
      menus_(menus),
      main_(main),
      nativePath_(std::move(nativePath)),
      programFolder_(std::move(programFolder)) {}

// ---------------------------------------------------------------------------------------------
// The run step

void RunCoordinator::RunMacro(int number, RunPath path) {
  RunState& state = frame_.State();
  // One top-level run at a time: a request that arrives while one plays changes nothing.
  if (state.macroPlaying) return;
  state.currentMacroNumber = number;
  for (;;) {
    const int n = state.currentMacroNumber;
    if (n <= 0 || n > MacroLimit(block_)) return;
    // A record that cannot be read runs nothing (the buffer would still hold the last macro).
    if (!library_.ReadMacroRecord(n, record_)) return;
    const std::int16_t kind = record_.ScopeKind();
    if (kind == scope::kPopupMenu) {
      state.popupShowing = true;
      // Only the hot-key road keeps the place its caller chose (a tray menu icon's x).
      const int chosen = menus_.ShowPopup(n, path == RunPath::kHotKey ? state.menuPosition : kMenuCentred);
      state.popupShowing = false;
      if (chosen <= 0) return;
      state.currentMacroNumber = chosen;  // a chosen popup menu opens the next menu
      continue;
    }
    if (path == RunPath::kOther && kind == scope::kSystem) {
      if (record_.ScopeText().rfind('4', 0) == 0) menus_.ShowTopWindowMenu();
      return;
    }
    // The hot key's own Ctrl, Alt, Shift or Win may still be held: keys typed meanwhile would
    // reach the program as shortcuts and be lost as text.
    if (path == RunPath::kHotKey) WaitForModifiersUp();
    frame_.StartRun({record_.Text(), record_.Nickname(), record_.ActivationCode(), true, true});
    return;
  }
}

void RunCoordinator::ResumePause() { frame_.PromptWindows().ResumePause(); }

void RunCoordinator::WaitForModifiersUp() {
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

// ---------------------------------------------------------------------------------------------
// Text channels and a second player's command line

void RunCoordinator::OnTextChannel(std::uint32_t message, std::uint64_t wparam) {
  std::string& buffer = message == UM_NICKNAMECHAR   ? buffers_.nickname
                        : message == UM_FILENAMECHAR ? buffers_.singleMacroFile
                                                     : buffers_.variables;
  if (static_cast<std::int32_t>(wparam) > 0) {
    AppendChannelChar(buffer, static_cast<std::uint8_t>(wparam));
    return;
  }
  buffer = UpperAscii(buffer);
  if (message == UM_NICKNAMECHAR) {
    platform_.windows->PostMessage(frame_.MainWindow(), UM_RUNREQUEST, 0, run_request::kNickname);
  } else if (message == UM_FILENAMECHAR) {
    platform_.windows->PostMessage(frame_.MainWindow(), UM_RUNREQUEST, 0, run_request::kSingleMacroFile);
  } else {
    SetCommandVariables(buffer, frame_.State().saved);
    buffer.clear();
  }
}

void RunCoordinator::OnCommandLineChar(std::int64_t byte) {
  // Only an lParam of 0 ends the line; any other appends its low byte.
  if (byte != 0) {
    AppendChannelChar(buffers_.nickname, static_cast<std::uint8_t>(byte));
    return;
  }
  const std::string line = UpperAscii(buffers_.nickname);
  buffers_.libraryPath = line;
  buffers_.singleMacroFile = line;
  SetCommandVariables(line, frame_.State().saved);
  const auto request = [this](std::string_view sw, std::string& buffer, int kind) {
    std::string value;
    if (SwitchValue(buffer, sw, value)) {
      buffer = value;
      platform_.windows->PostMessage(frame_.MainWindow(), UM_RUNREQUEST, 0, kind);
    } else {
      buffer.clear();
    }
  };
  buffers_.nickname = line;
  request("/A", buffers_.nickname, run_request::kNickname);
  request("/F", buffers_.libraryPath, run_request::kSwitchLibrary);
  request("/WRM", buffers_.singleMacroFile, run_request::kSingleMacroFile);
}

// ---------------------------------------------------------------------------------------------
// Run requests and the test run

std::string* RunCoordinator::RequestBuffer(std::int64_t kind) {
  switch (kind) {
    case run_request::kNickname:
      return &buffers_.nickname;
    case run_request::kSwitchLibrary:
      return &buffers_.libraryPath;
    case run_request::kSingleMacroFile:
      return &buffers_.singleMacroFile;
    default:
      return nullptr;
  }
}

bool RunCoordinator::HandleHeldRequest() {
  if (held_.empty()) return false;
  HeldRequest r = std::move(held_.front());
  held_.pop_front();
  *RequestBuffer(r.kind) = std::move(r.text);
  OnRunRequest(r.kind);
  return true;
}

void RunCoordinator::OnRunRequest(std::int64_t kind) {
  std::string* buffer = RequestBuffer(kind);
  if (!buffer) return;
  if (frame_.State().macroPlaying) {
    // A sender that keeps asking while a long macro plays must not grow the list without end.
    if (held_.size() >= kHeldRequestsMax) {
      frame_.LogError("Run request refused: " + std::to_string(kHeldRequestsMax) +
                      " requests already wait for the playing macro (" + *buffer + ").");
    } else {
      held_.push_back({kind, std::move(*buffer)});
    }
    buffer->clear();
    return;
  }
  switch (kind) {
    case run_request::kNickname:
      RunByNickname();
      break;
    case run_request::kSwitchLibrary: {
      // As "/F" on the player's own command line: a library that does not exist is ignored
      // (switching would create it empty and leave the user without macros).
      std::error_code ec;
      if (!buffer->empty() && std::filesystem::is_regular_file(nativePath_(*buffer), ec)) main_.SwitchLibrary(*buffer);
      break;
    }
    case run_request::kSingleMacroFile:
      PlaySingleMacroFile();
      break;
    default:
      break;
  }
  buffer->clear();
}

void RunCoordinator::RunByNickname() {
  if (buffers_.nickname.empty()) return;
  RunState& state = frame_.State();
  const int count = MacroLimit(block_);
  for (int i = 1; i <= count; ++i) {
    if (UpperAscii(settings_.nicknames[static_cast<std::size_t>(i)]) != buffers_.nickname) continue;
    if (state.popupShowing) {
      frame_.DoAMessage(kWarningCaption, kPopupShowingText);
    } else if (block_.CaptureOn()) {
      frame_.DoAMessage(kWarningCaption, kRecordingText);
    } else {
      RunMacro(i, RunPath::kOther);
    }
    return;
  }
}

void RunCoordinator::PlaySingleMacroFile() {
  const std::optional<std::string> text = buffers_.singleMacroFile.empty()
                                              ? std::nullopt
                                              : ReadSingleMacroFile(nativePath_(buffers_.singleMacroFile));
  if (!text) {
    frame_.MyMessage(kErrorCaption, kSingleMacroOpenError);
    return;
  }
  // While another macro plays nothing of this request may touch the in-use state (StartRun
  // does nothing then): its end marker would tell the hook library that the playing macro's
  // keys are over.
  frame_.StartRun({*text, kSingleMacroName, activation::kNone, true, true});
}

void RunCoordinator::OnTestRun() {
  frame_.PauseForNoSpeed(0.2);
  if (frame_.State().macroPlaying) {
    frame_.DoAMessage(kErrorCaption, kTestRunBusyText);
    return;
  }
  const std::optional<std::string> text = ReadSingleMacroFile(nativePath_(programFolder_ + "\\" + kTestRunFileName));
  if (!text) {
    frame_.DoAMessage(kErrorCaption, kTestRunOpenError);
    return;
  }
  // A test run leaves Caps Lock off and the in-use flag alone.
  frame_.StartRun({*text, kTestRunName, activation::kNone, false, false});
}

}  // namespace wdx::player
