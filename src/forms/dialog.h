// The one style of dialog in this system: a form class over a small model.
//
// The model is plain code without controls: the values the dialog edits, its checks and its
// results. Code that needs a value from the user fills a model, shows the form over it, and
// reads the model's results afterwards; tests of the rules drive the model alone, tests of
// the dialog drive the form through the scripted runner (forms/user.h).
//
// The form class derives from Form; its controls are members named as in the dialog's design
// and its handlers are member functions wired in the constructor. It holds no rule of its own:
// FormShow puts the model's values into the controls, OkButtonClick takes them back, asks the
// model's check and hands the answer to Accept:
//
//   struct RepeatModel {                       // the model: values, check, result
//     std::string count;
//     std::optional<forms::Fault> Check() const {
//       if (!IsWholeNumber(count)) return forms::Fault{"Count", "Invalid integer value entered."};
//       return std::nullopt;
//     }
//     std::string Tag() const;                 // the result the dialog produces
//   };
//
//   class TDoRepeat : public forms::Form {     // the form over it
//    public:
//     TDoRepeat(RepeatModel& model, platform::MessageBoxes& boxes);
//     forms::Edit Count{this, "Count"};
//     forms::Button OkButton{this, "OkButton", "&Ok"};
//    private:
//     void FormShow() { Count.SetText(model_.count); }
//     void OkButtonClick() {
//       model_.count = Count.text();
//       forms::Accept(*this, model_.Check(), boxes_);
//     }
//   };
//
// Whatever the form needs besides its model (the message boxes, a window to bring to the
// front) comes into its constructor; callers never hook into a form's events.
#pragma once

#include <optional>
#include <string>

#include "forms/form.h"
#include "platform/message_boxes.h"

namespace wdx::forms {

// What a model's check found wrong: the field to correct (a control's name; empty: none) and
// the message the user gets.
struct Fault {
  std::string field;
  std::string message;
  std::string caption = "Error";
};

// Ok's ending. Without a fault the form closes (a modal one with kOk). With one, the message
// box shows (owned by the form), the focus goes to the field and the form stays open. True
// when the form closes.
bool Accept(Form& form, const std::optional<Fault>& fault, platform::MessageBoxes& boxes);

}  // namespace wdx::forms
