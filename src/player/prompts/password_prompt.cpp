#include "player/prompts/password_prompt.h"

#include "player/prompts/message_windows.h"
#include "shared/text_util.h"

namespace wdx::player {

bool PasswordModel::Matches() const { return entry == password || TrimView(entry) == password; }

std::optional<forms::Fault> PasswordModel::Check() const {
  if (Matches()) return std::nullopt;
  return forms::Fault{"Password", "Incorrect password entered."};
}

TProcessPassword::TProcessPassword(PasswordModel& model, platform::MessageBoxes& boxes,
                                   std::function<void()> wrongEntry, int screenWidth, int screenHeight)
    : PromptForm("ProcessPassword", "Password Protection"),
      model_(model),
      boxes_(boxes),
      wrongEntry_(std::move(wrongEntry)),
      screenWidth_(screenWidth),
      screenHeight_(screenHeight) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetStayOnTop(true);
  SetClientSize(kClientWidth, kClientHeight);
  // Three lines of the message, the field and the buttons fill the small window.
  forms::Font messageFont = font();
  messageFont.height = 12;
  TheMessage.SetFont(messageFont);
  TheMessage.SetBounds(4, 2, 196, 44);
  TheMessage.SetWordWrap(true);
  Password.SetBounds(4, 47, 196, 20);
  Password.SetPasswordChar('*');
  OkButton.SetBounds(30, 70, 61, 21);
  OkButton.SetDefault(true);
  AbortButton.SetBounds(113, 70, 61, 21);
  OkButton.onClick = [this] { OkButtonClick(); };
  AbortButton.onClick = [this] { Close(); };
  onShow = [this] { FormShow(); };
}

void TProcessPassword::FormShow() {
  CentreOnScreen(*this, screenWidth_, screenHeight_);
  SetFocus(&Password);
  result = false;
  Shown();
}

void TProcessPassword::OkButtonClick() {
  model_.entry = Password.text();
  result = forms::Accept(*this, model_.Check(), boxes_);
  if (!result && wrongEntry_) wrongEntry_();
}

}  // namespace wdx::player
