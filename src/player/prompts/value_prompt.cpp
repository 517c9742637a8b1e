#include "player/prompts/value_prompt.h"

#include "player/prompts/message_lines.h"
#include "player/prompts/message_windows.h"
#include "shared/text_util.h"

namespace wdx::player {

std::optional<forms::Fault> ValueModel::Check() {
  if (kind == ValueKind::kText) {
    answer = text;
    return std::nullopt;
  }
  const std::string_view trimmed = TrimView(text);
  if (kind == ValueKind::kInteger && !ParseWholeNumber(trimmed).ok) {
    return forms::Fault{"Value", "Invalid integer value entered.  Please correct."};
  }
  if (kind == ValueKind::kDecimal && !ParseRealNumber(trimmed).ok) {
    return forms::Fault{"Value", "Invalid decimal value entered.  Please correct."};
  }
  answer = std::string(trimmed);
  return std::nullopt;
}

std::string ValueCaption(ValueKind kind) {
  switch (kind) {
    case ValueKind::kInteger: return "Input Integer";
    case ValueKind::kDecimal: return "Input Decimal";
    default: return "Input Text";
  }
}

TInputAValue::TInputAValue(ValueModel& model, const std::string& message, platform::MessageBoxes& boxes,
                           std::function<int(std::string_view)> width, int screenWidth, int screenHeight)
    : PromptForm("InputAValue", ValueCaption(model.kind)),
      model_(model),
      message_(message),
      boxes_(boxes),
      width_(std::move(width)),
      screenWidth_(screenWidth),
      screenHeight_(screenHeight) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetStayOnTop(true);
  SetClientSize(kClientWidth, kClientHeight);
  forms::Font labelFont = font();
  labelFont.height = 12;
  TheMessage.SetFont(labelFont);
  TheMessage.SetBounds(4, 4, 197, kLineHeight);
  TheMessage.SetWordWrap(true);
  Value.SetBounds(4, 40, 197, 24);
  OkButton.SetBounds((kClientWidth - 61) / 2, 68, 61, 21);
  OkButton.SetDefault(true);
  OkButton.onClick = [this] { OkButtonClick(); };
  onShow = [this] { FormShow(); };
}

void TInputAValue::FormShow() {
  accepted = false;
  lineCount = MessageLineCount(message_, kWrapLimit, width_);
  TheMessage.SetHeight(kLineHeight * lineCount);
  TheMessage.SetVisible(lineCount > 0);
  TheMessage.SetCaption(message_);
  Value.SetTop(kLineHeight * lineCount + 8);
  OkButton.SetTop(Value.bottom() + 4);
  SetClientSize(kClientWidth, OkButton.bottom() + 4);
  CentreOnScreen(*this, screenWidth_, screenHeight_);
  SetFocus(&Value);
  Shown();
}

void TInputAValue::OkButtonClick() {
  model_.text = Value.text();
  accepted = forms::Accept(*this, model_.Check(), boxes_);
}

}  // namespace wdx::player
