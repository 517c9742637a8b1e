// The pause window TPauseMacro: a small stay-on-top window that waits until the user chooses
// Resume (the macro goes on) or Abort.
#pragma once

#include <string>

#include "forms/controls.h"
#include "platform/window_system.h"
#include "player/interpreter/interpreter_host.h"
#include "player/interpreter/macro_prompts.h"
#include "player/prompts/prompt_form.h"

namespace wdx::player {

// Its caption names the running macro's hot key when a hot key started it; its labels show the
// macro's name and, when given, a message (the window grows by one line per 30 characters).
// While it is up it stays above every window, and the focus goes back to the window the macro
// works on.
class TPauseMacro : public PromptForm {
 public:
  static constexpr int kWidth = PauseWindowSize::kWidth;
  static constexpr int kHeight = PauseWindowSize::kHeight;  // without a message

  // While the window exists the run state's pause is showing; `windows` (may be null) gives
  // the focus to the macro's target window when the pause window is activated.
  TPauseMacro(RunState& state, platform::WindowSystem* windows);
  ~TPauseMacro() override;

  forms::Label Label1{this, "Label1", "Wendrix Pause"};
  forms::Label MacroTitleLabel{this, "MacroTitleLabel"};
  forms::Label MessageLabel{this, "MessageLabel"};
  forms::Button ResumeButton{this, "ResumeButton", "&Resume"};
  forms::Button AbortButton{this, "AbortButton", "&Abort"};

  // True once Resume was chosen; closing the window by any other means is Abort.
  bool result = false;

  // Resume from outside (a hot key pressed while the window is up).
  void Resume();

 private:
  void FormShow();
  void FormActivate();
  void ResumeButtonClick();
  void AbortButtonClick();

  RunState& state_;
  platform::WindowSystem* windows_;
};

}  // namespace wdx::player
