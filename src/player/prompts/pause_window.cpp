#include "player/prompts/pause_window.h"

#include "shared/hot_keys.h"

namespace wdx::player {

namespace {

// Below the labels: the buttons' top is this far above the window's bottom edge.
constexpr int kButtonsFromBottom = 52;

}  // namespace

TPauseMacro::TPauseMacro(RunState& state, platform::WindowSystem* windows)
    : PromptForm("PauseMacro", "Pause"), state_(state), windows_(windows) {
  SetBorderStyle(forms::BorderStyle::kToolWindow);
  SetToolWindow(true);
  SetStayOnTop(true);
  SetBounds(0, 0, kWidth, kHeight);
  Label1.SetBounds(8, 4, 208, 16);
  MacroTitleLabel.SetBounds(8, 20, 208, 16);
  MacroTitleLabel.SetFontColor(forms::kColorRed);
  MessageLabel.SetBounds(8, 38, 208, PauseWindowSize::kLineHeight);
  MessageLabel.SetWordWrap(true);
  MessageLabel.SetVisible(false);
  ResumeButton.SetBounds(16, kHeight - kButtonsFromBottom, 88, 25);
  AbortButton.SetBounds(120, kHeight - kButtonsFromBottom, 88, 25);
  ResumeButton.onClick = [this] { ResumeButtonClick(); };
  AbortButton.onClick = [this] { AbortButtonClick(); };
  onShow = [this] { FormShow(); };
  onActivate = [this] { FormActivate(); };
  state_.pauseShowing = true;
}

TPauseMacro::~TPauseMacro() { state_.pauseShowing = false; }

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
    MessageLabel.SetHeight(PauseWindowSize::MessageHeight(length));
    height += MessageLabel.height();
  }
  SetBounds(left(), top(), kWidth, height);
  ResumeButton.SetTop(height - kButtonsFromBottom);
  AbortButton.SetTop(height - kButtonsFromBottom);
  Shown();
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

}  // namespace wdx::player
