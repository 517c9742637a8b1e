#include "player/interpreter/pause_it.h"

#include <algorithm>

#include "forms/runner.h"
#include "platform/virtual_keys.h"
#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "shared/globals.h"
#include "shared/hot_keys.h"

namespace wdx::player {

namespace {

constexpr char kCaption[] = "Pause Error";
// Below the labels: the buttons' top is this far above the window's bottom edge.
constexpr int kButtonsFromBottom = 52;
constexpr std::size_t kShortText = 255;

// "<PAUSE>" in the middle of the screen; "<PAUSE:" + top + "," + left + message + ">" at the
// place given, kept on the screen at the right and bottom.
Flow PauseTag(Interpreter& in, const Level& level, const TagInfo& tag) {
  platform::Input* input = Facility(in, &platform::Platform::input, kCaption, "screen");
  if (input == nullptr) return Flow::GoOn();
  ScreenFactors screen;
  GetScreenFactors(*input, screen);
  int top = 0;
  int left = 0;
  std::string message;
  if (tag.id == TagId::kPause) {
    top = (screen.ScreenHeight - TPauseMacro::kHeight) / 2;
    left = (screen.ScreenWidth - TPauseMacro::kWidth) / 2;
  } else {
    const CommandFields f = FieldsOf(level, tag, cmd::kPauseAt);
    top = f.Whole(cmd::pause_at::kTop);
    left = f.Whole(cmd::pause_at::kLeft);
    message = f.Raw(cmd::pause_at::kMessage);
    if (message.find("%T") != std::string::npos) in.Host().ProcessStringVar(message, kShortText);
    const int height = TPauseMacro::kHeight + TPauseMacro::MessageHeight(message.size());
    top = std::min(top, screen.ScreenHeight - height);
    left = std::min(left, screen.ScreenWidth - TPauseMacro::kWidth);
  }
  const std::optional<bool> resumed = ShowPauseWindow(in, top, left, message);
  if (!resumed.has_value() || *resumed) return Flow::GoOn();
  // Abort: Caps Lock goes back on when the run turned it off, and this level ends here.
  if (in.State().capsWasOn) in.PressKey(vk::kCapital);
  return Flow::LeaveLevel();
}

class PauseFamily final : public CommandFamily {
 public:
  explicit PauseFamily(Interpreter& in) { in.Claim<&PauseTag>(TagFamily::kPause, *this); }
};

}  // namespace

int TPauseMacro::MessageHeight(std::size_t length) {
  if (length == 0) return 0;
  return static_cast<int>(length / kCharactersPerLine) * kLineHeight + kLineHeight;
}

TPauseMacro::TPauseMacro(RunState& state, platform::WindowSystem* windows)
    : Form("PauseMacro", "Pause"), state_(state), windows_(windows) {
  SetBorderStyle(forms::BorderStyle::kToolWindow);
  SetToolWindow(true);
  SetStayOnTop(true);
  SetBounds(0, 0, kWidth, kHeight);
  Label1.SetBounds(8, 4, 208, 16);
  MacroTitleLabel.SetBounds(8, 20, 208, 16);
  MacroTitleLabel.SetFontColor(forms::kColorRed);
  MessageLabel.SetBounds(8, 38, 208, kLineHeight);
  MessageLabel.SetWordWrap(true);
  MessageLabel.SetVisible(false);
  ResumeButton.SetBounds(16, kHeight - kButtonsFromBottom, 88, 25);
  AbortButton.SetBounds(120, kHeight - kButtonsFromBottom, 88, 25);
  ResumeButton.onClick = [this] { ResumeButtonClick(); };
  AbortButton.onClick = [this] { AbortButtonClick(); };
  onShow = [this] { FormShow(); };
  onActivate = [this] { FormActivate(); };
  state_.pauseShowing = true;
  state_.pauseWindow = this;
}

TPauseMacro::~TPauseMacro() {
  if (state_.pauseWindow == this) state_.pauseWindow = nullptr;
}

void TPauseMacro::FormShow() {
  // The macro's name as the run knows it: a run without a library number (a test run) has
  // one too.
  MacroTitleLabel.SetCaption(state_.currentMacroName);
  if (IsHotKeyIndex(state_.currentActivation)) {
    SetCaption("Pause (" + std::string(HotKeyName(state_.currentActivation)) + ")");
  }
  int height = kHeight;
  const std::size_t length = MessageLabel.caption().size();
  if (length > 0) {
    MessageLabel.SetVisible(true);
    MessageLabel.SetHeight(MessageHeight(length));
    height += MessageLabel.height();
  }
  SetBounds(left(), top(), kWidth, height);
  ResumeButton.SetTop(height - kButtonsFromBottom);
  AbortButton.SetTop(height - kButtonsFromBottom);
  if (afterShow) afterShow();
}

void TPauseMacro::FormActivate() {
  // The keys of the macro belong to its target window; the pause window stays on top of it.
  if (windows_ != nullptr && state_.targetWindow != platform::kNoWindow) windows_->BringToFront(state_.targetWindow);
}

void TPauseMacro::ResumeButtonClick() {
  result = true;
  Close();
}

void TPauseMacro::AbortButtonClick() { Close(); }

void TPauseMacro::Resume() {
  Dispatch([this] { ResumeButtonClick(); });
}

std::optional<bool> ShowPauseWindow(Interpreter& in, int top, int left, const std::string& message) {
  InterpreterHost& host = in.Host();
  forms::FormRunner* runner = host.Forms();
  if (runner == nullptr) {
    in.Fail(kCaption, "The pause window is not available in this build. Macro will abort.");
    return std::nullopt;
  }
  host.PauseForNoSpeed(0.3);
  host.ShowApplication(true);
  bool result = false;
  {
    platform::Platform* p = host.GetPlatform();
    TPauseMacro form(in.State(), p != nullptr ? p->windows : nullptr);
    form.SetLeft(left);
    form.SetTop(top);
    form.MessageLabel.SetCaption(message);
    form.afterShow = [&host, &form] { host.SetMainWin(form.Handle()); };
    runner->ShowModal(form);
    result = form.result;
  }
  in.State().pauseShowing = false;
  host.ShowApplication(false);
  return result;
}

bool ResumePause(RunState& state) {
  if (state.pauseWindow == nullptr) return false;
  state.pauseWindow->Resume();
  return true;
}

std::unique_ptr<CommandFamily> MakePauseFamily(Interpreter& in) { return std::make_unique<PauseFamily>(in); }

}  // namespace wdx::player
