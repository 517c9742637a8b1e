// TProcessPassword, the password prompt of "<PASSP:": the macro goes on only when the user
// enters its password; Abort or the close box ends the run.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "forms/controls.h"
#include "forms/dialog.h"
#include "platform/message_boxes.h"
#include "player/prompts/prompt_form.h"

namespace wdx::player {

// The password and what the user entered. The entry matches as typed, or without the blanks
// and control characters at its ends (which a user may add by mistake); so a password that
// ends in a blank can be entered too.
struct PasswordModel {
  std::string password;
  std::string entry;
  bool Matches() const;
  std::optional<forms::Fault> Check() const;
};

class TProcessPassword : public PromptForm {
 public:
  static constexpr int kClientWidth = 204;
  static constexpr int kClientHeight = 94;

  // `wrongEntry` runs after each refused entry (the run logs the attempt).
  TProcessPassword(PasswordModel& model, platform::MessageBoxes& boxes, std::function<void()> wrongEntry,
                   int screenWidth, int screenHeight);

  forms::Label TheMessage{this, "TheMessage",
                          "This macro is password protected.  Please enter the password below."};
  forms::Edit Password{this, "Password"};
  forms::Button OkButton{this, "OkButton", "&Ok"};
  forms::Button AbortButton{this, "AbortButton", "&Abort"};

  // True once the password was entered; any other way of closing leaves it false.
  bool result = false;

 private:
  void FormShow();
  void OkButtonClick();

  PasswordModel& model_;
  platform::MessageBoxes& boxes_;
  std::function<void()> wrongEntry_;
  int screenWidth_;
  int screenHeight_;
};

}  // namespace wdx::player
