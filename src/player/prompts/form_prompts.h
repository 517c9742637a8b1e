// The prompts of a running macro on the form toolkit: the interpreter's MacroPrompts as the
// player and the test programs give them. The object also knows which prompt window is up, so
// the player can answer it from outside (a hot key resumes a pause, a close request closes it).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "player/interpreter/interpreter_host.h"
#include "player/interpreter/macro_prompts.h"
#include "player/prompts/text_boxes.h"

namespace wdx::player {

class PromptForm;
class PromptFrame;
class TPauseMacro;

class FormPrompts final : public MacroPrompts {
 public:
  // The host's form runner shows the windows; without one no prompt can be shown.
  explicit FormPrompts(InterpreterHost& host) : host_(host) {}

  std::optional<bool> Pause(int top, int left, const std::string& message) override;
  std::optional<std::int32_t> RepeatCount() override;
  std::optional<bool> Question(const QuestionText& question) override;
  bool Message(const std::string& caption, const std::string& text) override;
  bool LongMessage(const std::string& caption, const std::string& text) override;
  std::optional<bool> Password(const std::string& password) override;
  std::optional<std::string> PlayClip(const std::string& file, std::int32_t mode) override;
  std::optional<std::string> ChoiceMenu(const ChoiceMenuText& menu) override;
  std::optional<std::string> Value(ValueKind kind, const std::string& message) override;
  DialogChoice OpenFile(const std::string& fileName) override;
  DialogChoice SaveFile(const SaveFileRequest& request) override;
  DialogChoice Folder(const std::string& title) override;
  std::optional<EmailPromptAnswer> SendEmail(EmailPromptMode mode, const std::vector<std::string>& recipientList) override;
  std::unique_ptr<StatusWindow> ShowStatus(const std::string& caption, const std::string& text, bool owned) override;
  bool TextBox(const TextBoxText& box) override;
  void CloseTextBox(const std::string& header) override;

  // The hot-key road: Resume for the user when the pause window is up; false when none is.
  bool ResumePause();
  // Closes the prompt window that is up, as its close box would; nothing when none is.
  void CloseOpenPrompt();
  // The text boxes of the run: the player empties the list when a run ends and frees a box
  // when its UM_TEXTBOXCLOSED comes.
  OnTopBoxes& TextBoxes() { return textBoxes_; }

 private:
  // Shows the form in the frame as the open prompt.
  void ShowOpen(PromptFrame& frame, PromptForm& form);

  InterpreterHost& host_;
  PromptForm* open_ = nullptr;
  TPauseMacro* pause_ = nullptr;
  OnTopBoxes textBoxes_;
};

}  // namespace wdx::player
