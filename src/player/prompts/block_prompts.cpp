#include "player/prompts/block_prompts.h"

#include "player/prompts/message_lines.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

constexpr int kButtonWidth = 81;
constexpr int kButtonHeight = 21;

}  // namespace

std::optional<forms::Fault> RepeatCountModel::Check() {
  const WholeNumber n = ParseWholeNumber(TrimView(text));
  if (!n.ok || n.value < 0) return forms::Fault{"NumReps", "Invalid numeric value entered.  Please Correct"};
  count = n.value;
  return std::nullopt;
}

TRepeatPrompt::TRepeatPrompt(RepeatCountModel& model, platform::MessageBoxes& boxes, const RunState& state,
                             int screenWidth, int screenHeight)
    : PromptForm("RepeatPrompt", "Macro Repeat"),
      model_(model),
      boxes_(boxes),
      state_(state),
      screenWidth_(screenWidth),
      screenHeight_(screenHeight) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetStayOnTop(true);
  SetClientSize(kClientWidth, kClientHeight);
  TheMessage.SetBounds(4, 6, 105, 21);
  TheMessage.SetAlignment(forms::Alignment::kRight);
  NumReps.SetBounds(116, 2, 41, 21);
  NumReps.SetMaxLength(4);
  NumReps.SetText(model.text);
  OkButton.SetBounds((kClientWidth - 75) / 2, 30, 75, 23);
  OkButton.SetDefault(true);
  OkButton.onClick = [this] { OkButtonClick(); };
  onShow = [this] { FormShow(); };
  onCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
}

void TRepeatPrompt::FormShow() {
  SetClientSize(kClientWidth, kClientHeight);
  SetBounds((screenWidth_ - width()) / 2, (screenHeight_ - height()) / 2, width(), height());
  SetFocus(&NumReps);
  Shown();
}

void TRepeatPrompt::OkButtonClick() {
  model_.text = NumReps.text();
  accepted = forms::Accept(*this, model_.Check(), boxes_);
}

void TRepeatPrompt::FormCloseQuery(bool& canClose) {
  // The run's abort closes the prompt whatever it holds.
  if (accepted || state_.abortMacro) return;
  model_.text = NumReps.text();
  if (const std::optional<forms::Fault> fault = model_.Check()) {
    boxes_.Show(Handle(), fault->message, fault->caption, platform::mb::kOk);
    SetFocus(&NumReps);
    canClose = false;
    return;
  }
  accepted = true;
}

TShowAQuestion::TShowAQuestion(const QuestionText& question, std::function<int(std::string_view)> width,
                               int screenWidth, int screenHeight)
    : PromptForm("ShowAQuestion", question.caption),
      question_(question.question),
      width_(std::move(width)),
      screenWidth_(screenWidth),
      screenHeight_(screenHeight) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetStayOnTop(true);
  SetClientSize(kClientWidth, 71);
  TheMessage.SetBounds(4, 4, 293, kLineHeight);
  TheMessage.SetWordWrap(true);
  OkButton.SetBounds(68, 46, kButtonWidth, kButtonHeight);
  OkButton.SetCaption(question.first);
  OkButton.SetDefault(true);
  CancelButton.SetBounds(160, 46, kButtonWidth, kButtonHeight);
  CancelButton.SetCaption(question.second);
  OkButton.onClick = [this] { OkButtonClick(); };
  CancelButton.onClick = [this] { CancelButtonClick(); };
  onShow = [this] { FormShow(); };
}

void TShowAQuestion::FormShow() {
  result = false;
  lineCount = MessageLineCount(question_, kWrapLimit, width_);
  // One line stands in the middle; more are wrapped from the left.
  TheMessage.SetAlignment(lineCount == 1 ? forms::Alignment::kCenter : forms::Alignment::kLeft);
  TheMessage.SetHeight(kLineHeight * lineCount);
  TheMessage.SetCaption(question_);
  const int buttonsTop = TheMessage.top() + TheMessage.height() + 4;
  OkButton.SetTop(buttonsTop);
  CancelButton.SetTop(buttonsTop);
  SetClientSize(kClientWidth, buttonsTop + kButtonHeight + 4);
  SetBounds((screenWidth_ - width()) / 2, (screenHeight_ - height()) / 2, width(), height());
  Shown();
}

void TShowAQuestion::OkButtonClick() {
  result = true;
  Close();
}

void TShowAQuestion::CancelButtonClick() { Close(); }

}  // namespace wdx::player
