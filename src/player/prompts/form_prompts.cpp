#include "player/prompts/form_prompts.h"

#include "platform/platform.h"
#include "player/prompts/block_prompts.h"
#include "player/prompts/pause_window.h"
#include "player/prompts/prompt_form.h"
#include "shared/globals.h"

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

namespace {

// The screen the block prompts centre themselves on (nothing known: a 640 by 480 screen).
ScreenFactors Screen(platform::Platform* p) {
  ScreenFactors screen;
  if (p != nullptr && p->input != nullptr) GetScreenFactors(*p->input, screen);
  if (screen.ScreenWidth <= 0 || screen.ScreenHeight <= 0) {
    screen.ScreenWidth = 640;
    screen.ScreenHeight = 480;
  }
  return screen;
}

}  // namespace

std::optional<std::int32_t> FormPrompts::RepeatCount() {
  forms::FormRunner* runner = host_.Forms();
  platform::Platform* p = host_.GetPlatform();
  if (runner == nullptr || p == nullptr || p->boxes == nullptr) return std::nullopt;
  PromptFrame frame(host_, *runner);
  const ScreenFactors screen = Screen(p);
  RepeatCountModel model;
  TRepeatPrompt form(model, *p->boxes, host_.State(), screen.ScreenWidth, screen.ScreenHeight);
  open_ = &form;
  frame.Show(form);
  open_ = nullptr;
  if (!form.accepted) return std::nullopt;
  return model.count;
}

std::optional<bool> FormPrompts::Question(const QuestionText& question) {
  forms::FormRunner* runner = host_.Forms();
  if (runner == nullptr) return std::nullopt;
  PromptFrame frame(host_, *runner);
  const ScreenFactors screen = Screen(host_.GetPlatform());
  TShowAQuestion* shown = nullptr;
  TShowAQuestion form(
      question, [runner, &shown](std::string_view text) { return runner->TextWidth(shown->TheMessage.font(), text); },
      screen.ScreenWidth, screen.ScreenHeight);
  shown = &form;
  open_ = &form;
  frame.Show(form);
  open_ = nullptr;
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
