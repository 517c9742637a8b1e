#include "player/prompts/form_prompts.h"

#include "platform/platform.h"
#include "player/prompts/block_prompts.h"
#include "player/prompts/choice_menu.h"
#include "player/prompts/email_prompt.h"
#include "player/prompts/message_windows.h"
#include "player/prompts/password_prompt.h"
#include "player/prompts/play_avi.h"
#include "player/prompts/value_prompt.h"
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
  ShowOpen(frame, form);
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
  ShowOpen(frame, form);
  return form.result;
}

bool FormPrompts::Message(const std::string& caption, const std::string& text) {
  forms::FormRunner* runner = host_.Forms();
  if (runner == nullptr) return false;
  const ScreenFactors screen = Screen(host_.GetPlatform());
  PromptFrame frame(host_, *runner);
  TOnTopMessage form(caption, text, screen.ScreenWidth, screen.ScreenHeight);
  ShowOpen(frame, form);
  return true;
}

bool FormPrompts::LongMessage(const std::string& caption, const std::string& text) {
  forms::FormRunner* runner = host_.Forms();
  if (runner == nullptr) return false;
  const ScreenFactors screen = Screen(host_.GetPlatform());
  {
    PromptFrame frame(host_, *runner);
    TDoMyMessage form(caption, text, screen.ScreenWidth, screen.ScreenHeight);
    ShowOpen(frame, form);
  }
  // The long text was read; the window in front gets a moment before the macro goes on.
  host_.PauseForNoSpeed(0.3);
  return true;
}

std::optional<bool> FormPrompts::Password(const std::string& password) {
  forms::FormRunner* runner = host_.Forms();
  platform::Platform* p = host_.GetPlatform();
  if (runner == nullptr || p == nullptr || p->boxes == nullptr) return std::nullopt;
  const ScreenFactors screen = Screen(p);
  PromptFrame frame(host_, *runner);
  PasswordModel model{password, {}};
  TProcessPassword form(
      model, *p->boxes,
      [this] {
        if (host_.State().logErrors) host_.LogError("Password attempt made with incorrect password.");
      },
      screen.ScreenWidth, screen.ScreenHeight);
  ShowOpen(frame, form);
  return form.result;
}

std::optional<std::string> FormPrompts::PlayClip(const std::string& file, std::int32_t mode) {
  forms::FormRunner* runner = host_.Forms();
  platform::Platform* p = host_.GetPlatform();
  if (runner == nullptr || p == nullptr || p->media == nullptr) return std::nullopt;
  const ScreenFactors screen = Screen(p);
  PromptFrame frame(host_, *runner);
  ClipPlayerModel model{file, static_cast<ClipMode>(mode), {}};
  TDoPlayAVI form(model, *p->media, screen.ScreenWidth, screen.ScreenHeight);
  ShowOpen(frame, form);
  return model.error;
}

std::optional<std::string> FormPrompts::ChoiceMenu(const ChoiceMenuText& menu) {
  forms::FormRunner* runner = host_.Forms();
  if (runner == nullptr) return std::nullopt;
  const ScreenFactors screen = Screen(host_.GetPlatform());
  PromptFrame frame(host_, *runner);
  TShowAMenu* shown = nullptr;
  TShowAMenu form(
      menu, [runner, &shown](std::string_view text) { return runner->TextWidth(shown->font(), text); },
      screen.ScreenWidth, screen.ScreenHeight);
  shown = &form;
  ShowOpen(frame, form);
  return form.result;
}

std::optional<std::string> FormPrompts::Value(ValueKind kind, const std::string& message) {
  forms::FormRunner* runner = host_.Forms();
  platform::Platform* p = host_.GetPlatform();
  if (runner == nullptr || p == nullptr || p->boxes == nullptr) return std::nullopt;
  const ScreenFactors screen = Screen(p);
  PromptFrame frame(host_, *runner);
  ValueModel model;
  model.kind = kind;
  TInputAValue* shown = nullptr;
  TInputAValue form(
      model, message, *p->boxes,
      [runner, &shown](std::string_view text) { return runner->TextWidth(shown->font(), text); },
      screen.ScreenWidth, screen.ScreenHeight);
  shown = &form;
  ShowOpen(frame, form);
  return form.accepted ? model.answer : std::string();
}

DialogChoice FormPrompts::OpenFile(const std::string& fileName) {
  forms::FormRunner* runner = host_.Forms();
  if (runner == nullptr) return {};
  forms::FileDialog dialog;
  dialog.title = "All Files";
  dialog.filter = "All Files (*.*)|*.*";
  dialog.fileName = fileName;
  dialog.hideReadOnly = true;
  dialog.fileMustExist = true;
  return {true, runner->OpenFileDialog(dialog, platform::kNoWindow)};
}

DialogChoice FormPrompts::SaveFile(const SaveFileRequest& request) {
  forms::FormRunner* runner = host_.Forms();
  if (runner == nullptr) return {};
  forms::FileDialog dialog;
  dialog.title = request.title;
  dialog.filter = request.filter;
  dialog.defaultExt = request.defaultExt;
  dialog.hideReadOnly = true;
  dialog.fileMustExist = request.fileMustExist;
  return {true, runner->SaveFileDialog(dialog, platform::kNoWindow)};
}

DialogChoice FormPrompts::Folder(const std::string& title) {
  forms::FormRunner* runner = host_.Forms();
  if (runner == nullptr) return {};
  return {true, runner->FolderDialog(title, platform::kNoWindow)};
}

std::optional<EmailPromptAnswer> FormPrompts::SendEmail(EmailPromptMode mode,
                                                        const std::vector<std::string>& recipientList) {
  forms::FormRunner* runner = host_.Forms();
  platform::Platform* p = host_.GetPlatform();
  if (runner == nullptr || p == nullptr || p->boxes == nullptr) return std::nullopt;
  const ScreenFactors screen = Screen(p);
  PromptFrame frame(host_, *runner);
  EmailPromptModel model;
  model.mode = mode;
  if (mode == EmailPromptMode::kRecipients) model.recipientLines = recipientList;
  TDoTheEmail* shown = nullptr;
  TDoTheEmail form(
      model, *p->boxes,
      [runner, &shown](const forms::FileDialog& dialog) { return runner->OpenFileDialog(dialog, shown->Handle()); },
      screen.ScreenWidth, screen.ScreenHeight);
  shown = &form;
  ShowOpen(frame, form);
  if (!form.accepted) return EmailPromptAnswer{};
  return model.Answer();
}

namespace {

// The status window while it is up: the player's application window shown for it, hidden
// again when it goes.
class FormStatusWindow final : public StatusWindow {
 public:
  FormStatusWindow(InterpreterHost& host, forms::FormRunner& runner, const std::string& caption,
                   const std::string& text, bool owned, const ScreenFactors& screen)
      : host_(host), form_(caption, screen.ScreenWidth, screen.ScreenHeight) {
    host_.ShowApplication(true);
    // Without an owner the window stands on its own on the desktop.
    if (!owned) form_.SetOwner(platform::kNoWindow);
    form_.Mess.SetCaption(text);
    form_.afterShow = [this] { host_.SetMainWin(form_.Handle()); };
    runner.Show(form_, true);
  }
  ~FormStatusWindow() override {
    form_.Close();
    host_.ShowApplication(false);
  }
  void SetText(const std::string& text) override { form_.Mess.SetCaption(text); }

 private:
  InterpreterHost& host_;
  TEMailStatus form_;
};

}  // namespace

std::unique_ptr<StatusWindow> FormPrompts::ShowStatus(const std::string& caption, const std::string& text,
                                                      bool owned) {
  forms::FormRunner* runner = host_.Forms();
  if (runner == nullptr) return nullptr;
  return std::make_unique<FormStatusWindow>(host_, *runner, caption, text, owned, Screen(host_.GetPlatform()));
}

void FormPrompts::ShowOpen(PromptFrame& frame, PromptForm& form) {
  open_ = &form;
  frame.Show(form);
  open_ = nullptr;
}

bool FormPrompts::ResumePause() {
  if (pause_ == nullptr) return false;
  pause_->Resume();
  return true;
}

void FormPrompts::CloseOpenPrompt() {
  if (open_ != nullptr) open_->Close();
}

bool FormPrompts::TextBox(const TextBoxText& box) {
  forms::FormRunner* runner = host_.Forms();
  if (runner == nullptr) return false;
  const ScreenFactors screen = Screen(host_.GetPlatform());
  TDoMyMess3& form = textBoxes_.Add(box, screen.ScreenWidth, screen.ScreenHeight);
  const std::uint32_t id = form.id();
  if (form.waitsForOk()) {
    PromptFrame frame(host_, *runner);
    ShowOpen(frame, form);
    textBoxes_.Remove(id);
    return true;
  }
  // Up without taking the focus from the window the macro works in.
  host_.PauseForNoSpeed(0.3);
  runner->Show(form, false);
  host_.ShowApplication(false);
  host_.PauseForNoSpeed(0.3);
  return true;
}

void FormPrompts::CloseTextBox(const std::string& header) { textBoxes_.CloseByHeader(header); }

}  // namespace wdx::player
