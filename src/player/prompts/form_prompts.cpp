#include "player/prompts/form_prompts.h"

#include "platform/platform.h"
#include "player/prompts/pause_window.h"
#include "player/prompts/prompt_form.h"

namespace wdx::player {

std::optional<bool> FormPrompts::Pause(int top, int left, const std::string& message) {
  forms::FormRunner* runner = host_.Forms();
  if (runner == nullptr) return std::nullopt;
  PromptFrame frame(host_, *runner);
  platform::Platform* p = host_.GetPlatform();
  TPauseMacro form(host_.State(), p != nullptr ? p->windows : nullptr);
  form.SetLeft(left);
  form.SetTop(top);
  form.MessageLabel.SetCaption(message);
  open_ = &form;
  pause_ = &form;
  frame.Show(form);
  open_ = nullptr;
  pause_ = nullptr;
  return form.result;
}

bool FormPrompts::ResumePause() {
  if (pause_ == nullptr) return false;
  pause_->Resume();
  return true;
}

void FormPrompts::CloseOpenPrompt() {
  if (open_ != nullptr) open_->Close();
}

}  // namespace wdx::player
