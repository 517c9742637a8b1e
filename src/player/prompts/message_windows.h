// The two message windows of the player: TOnTopMessage, the short stay-on-top box of notices
// and failures, and TDoMyMessage, the window for long texts (reports, text boxes), whose text
// scrolls and keeps its line breaks. Both centre themselves on the screen and close with Ok.
#pragma once

#include <string>

#include "forms/controls.h"
#include "player/prompts/prompt_form.h"

namespace wdx::player {

class TOnTopMessage : public PromptForm {
 public:
  static constexpr int kClientWidth = 235;
  static constexpr int kClientHeight = 130;

  TOnTopMessage(const std::string& caption, const std::string& text, int screenWidth, int screenHeight);

  forms::Label TheMessage{this, "TheMessage"};
  forms::Button OkButton{this, "OkButton", "&Ok"};

 private:
  void FormShow();

  int screenWidth_;
  int screenHeight_;
};

class TDoMyMessage : public PromptForm {
 public:
  static constexpr int kClientWidth = 270;
  static constexpr int kClientHeight = 172;

  TDoMyMessage(const std::string& caption, const std::string& text, int screenWidth, int screenHeight);

  forms::Memo TheMessage{this, "TheMessage"};
  forms::Button OkButton{this, "OkButton", "&Ok"};

 private:
  void FormShow();

  int screenWidth_;
  int screenHeight_;
};

// A memo's lines end in CR LF: a bare LF or CR becomes one.
std::string WithLineBreaks(const std::string& text);

// The form centred on the screen for the size it has now (halves truncated).
inline void CentreOnScreen(forms::Form& form, int screenWidth, int screenHeight) {
  form.SetBounds((screenWidth - form.width()) / 2, (screenHeight - form.height()) / 2, form.width(), form.height());
}

}  // namespace wdx::player
