// TInputAValue, the value prompt of the variable commands: the macro's message, one field and
// Ok. The number kinds take only a whole or a decimal number.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "forms/controls.h"
#include "forms/dialog.h"
#include "platform/message_boxes.h"
#include "player/interpreter/macro_prompts.h"
#include "player/prompts/prompt_form.h"

namespace wdx::player {

// What the prompt edits: the text as typed, and the answer it gives. A text is taken as typed;
// a number kind is trimmed and must convert in full (the decimal point is always ".").
struct ValueModel {
  ValueKind kind = ValueKind::kText;
  std::string text;
  std::string answer;
  std::optional<forms::Fault> Check();
};

// Caption by kind: "Input Text", "Input Integer", "Input Decimal".
std::string ValueCaption(ValueKind kind);

class TInputAValue : public PromptForm {
 public:
  static constexpr int kClientWidth = 204;
  static constexpr int kClientHeight = 94;
  static constexpr int kWrapLimit = 196;
  static constexpr int kLineHeight = 16;

  // `width` measures a text in the form's font.
  TInputAValue(ValueModel& model, const std::string& message, platform::MessageBoxes& boxes,
               std::function<int(std::string_view)> width, int screenWidth, int screenHeight);

  forms::Label TheMessage{this, "TheMessage"};
  forms::Edit Value{this, "Value"};
  forms::Button OkButton{this, "OkButton", "&Ok"};

  // Closed by Ok with a valid value.
  bool accepted = false;
  int lineCount = 0;

 private:
  void FormShow();
  void OkButtonClick();

  ValueModel& model_;
  std::string message_;
  platform::MessageBoxes& boxes_;
  std::function<int(std::string_view)> width_;
  int screenWidth_;
  int screenHeight_;
};

}  // namespace wdx::player
