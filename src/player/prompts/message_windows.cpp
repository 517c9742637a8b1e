#include "player/prompts/message_windows.h"

namespace wdx::player {

namespace {

// Both windows: a dialog frame without a task-bar button, above every other window.
void MessageFrame(PromptForm& form, int clientWidth, int clientHeight) {
  form.SetBorderStyle(forms::BorderStyle::kDialog);
  form.SetToolWindow(true);
  form.SetStayOnTop(true);
  form.SetClientSize(clientWidth, clientHeight);
}

}  // namespace

std::string WithLineBreaks(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out += "\r\n";
      ++i;
    } else if (c == '\r' || c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

TOnTopMessage::TOnTopMessage(const std::string& caption, const std::string& text, int screenWidth, int screenHeight)
    : PromptForm("OnTopMessage", caption), screenWidth_(screenWidth), screenHeight_(screenHeight) {
  MessageFrame(*this, kClientWidth, kClientHeight);
  TheMessage.SetBounds(4, 4, 229, 97);
  TheMessage.SetWordWrap(true);
  TheMessage.SetCaption(text);
  OkButton.SetBounds(96, 106, 41, 21);
  OkButton.SetDefault(true);
  OkButton.SetModalResult(forms::ModalResult::kOk);
  onShow = [this] { FormShow(); };
}

void TOnTopMessage::FormShow() {
  SetClientSize(kClientWidth, kClientHeight);
  CentreOnScreen(*this, screenWidth_, screenHeight_);
  Shown();
}

TDoMyMessage::TDoMyMessage(const std::string& caption, const std::string& text, int screenWidth, int screenHeight)
    : PromptForm("DoMyMessage", caption), screenWidth_(screenWidth), screenHeight_(screenHeight) {
  MessageFrame(*this, kClientWidth, kClientHeight);
  TheMessage.SetBounds(4, 4, 265, 141);
  TheMessage.SetReadOnly(true);
  TheMessage.SetScrollBars(forms::ScrollBars::kVertical);
  TheMessage.SetWantReturns(false);
  TheMessage.SetText(WithLineBreaks(text));
  OkButton.SetBounds(116, 150, 41, 21);
  OkButton.SetDefault(true);
  OkButton.SetModalResult(forms::ModalResult::kOk);
  onShow = [this] { FormShow(); };
}

void TDoMyMessage::FormShow() {
  SetClientSize(kClientWidth, kClientHeight);
  CentreOnScreen(*this, screenWidth_, screenHeight_);
  Shown();
}

}  // namespace wdx::player
