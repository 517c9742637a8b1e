// What every prompt window of a running macro shares: the frame it is shown in (PromptFrame)
// and the moment, at the end of its FormShow, when it is forced to the foreground.
#pragma once

#include <functional>

#include "forms/form.h"
#include "forms/runner.h"
#include "player/interpreter/interpreter_host.h"

namespace wdx::player {

class PromptForm : public forms::Form {
 public:
  using forms::Form::Form;

  // Set by the frame; runs when the window exists and shows.
  std::function<void()> afterShow;

 protected:
  // Called by the form at the end of its FormShow.
  void Shown() {
    if (afterShow) afterShow();
  }
};

// Every prompt is shown the same way: a 0.3-second pause without the speed factor and the
// player's hidden application window shown (the frame's construction, before the form is
// made), the form forced to the foreground and shown modally (Show), and, once the form is
// gone, the application and main windows hidden again (the frame's end).
class PromptFrame {
 public:
  PromptFrame(InterpreterHost& host, forms::FormRunner& runner) : host_(host), runner_(runner) {
    host_.PauseForNoSpeed(0.3);
    host_.ShowApplication(true);
  }
  ~PromptFrame() { host_.ShowApplication(false); }
  PromptFrame(const PromptFrame&) = delete;
  PromptFrame& operator=(const PromptFrame&) = delete;

  void Show(PromptForm& form) {
    form.afterShow = [this, &form] { host_.SetMainWin(form.Handle()); };
    runner_.ShowModal(form);
  }

 private:
  InterpreterHost& host_;
  forms::FormRunner& runner_;
};

}  // namespace wdx::player
