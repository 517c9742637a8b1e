// The pause of a macro: "<PAUSE>" and "<PAUSE:" open the small stay-on-top window TPauseMacro
// and wait until the user chooses Resume (the macro goes on) or Abort (the current level
// ends, without a message; enclosing levels go on).
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "forms/controls.h"
#include "forms/form.h"
#include "platform/window_system.h"
#include "player/interpreter/interpreter.h"

namespace wdx::player {

// The pause window. Its caption names the running macro's hot key when a hot key started it;
// its labels show the macro's name and, when given, a message (the window grows by one line of
// 19 pixels per 30 characters). While it is up it stays above every window, and the focus
// goes back to the window the macro works on.
class TPauseMacro : public forms::Form {
 public:
  static constexpr int kWidth = 224;
  static constexpr int kHeight = 94;  // without a message
  static constexpr int kLineHeight = 19;
  static constexpr int kCharactersPerLine = 30;
  // Height the message adds: nothing without one, else one line per full 30 characters and
  // one more.
  static int MessageHeight(std::size_t length);

  // Creating the window marks the run state's pause as showing; `windows` (may be null) gives
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
  // Runs at the end of FormShow, when the window exists (the caller forces it to the front).
  std::function<void()> afterShow;

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

// Opens the pause window at the given place with the message, as every prompt of a running
// macro is opened; true for Resume, false for Abort. nullopt when the host cannot show forms:
// the run has then failed with a message.
std::optional<bool> ShowPauseWindow(Interpreter& in, int top, int left, const std::string& message);

// The hot-key road: when the pause window is up, choose Resume for the user. False when no
// pause window is up.
bool ResumePause(RunState& state);

}  // namespace wdx::player
