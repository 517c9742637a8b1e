// The frame every command dialog shares.
//
// A command dialog edits one macro command and leaves its complete tag text in `ResultText`
// (empty: the user did not confirm with Ok). Its typed parameter fields, which the script
// editor copies into its line, are the dialog's model: `model` is preset by an opener that
// edits an existing command (`NewCommand` 0) and read by it after a confirmed Ok.
//
// A dialog derives from CommandDialogOf<Model>. The model holds the values, the checks and
// the tag:
//
//   struct RemarkModel {
//     std::string Comments;
//     std::optional<forms::Fault> Check() const;   // first failure in screen order
//     std::optional<std::string> Tag() const;      // through the command codec
//   };
//
// and the form puts the model into its controls (ShowModel; with `NewCommand` 1 the model is
// the fresh default and ShowModel focuses the first control) and reads it back (ReadModel).
// The frame does the rest: centring, clearing `ResultText`, Ok (read, check, report the first
// failure and focus its field, or keep the model and the tag and close), Cancel, Esc, the
// close box and Help. A refused Ok leaves `model` and `ResultText` as they were, so an opener
// never sees half of a refused entry.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "forms/controls.h"
#include "forms/dialog.h"
#include "forms/form.h"
#include "platform/platform.h"

namespace wdx::editor {

// What every dialog of the editor needs besides its model.
struct DialogServices {
  platform::MessageBoxes* boxes = nullptr;
  platform::HelpFiles* help = nullptr;
  // The primary screen's size in pixels, taken once when the editor starts.
  platform::Point screen{800, 600};
  // The editor's program folder, where the help file lies.
  std::string programFolder;

  static DialogServices Of(const platform::Platform& p, std::string programFolder);
  // The help file: the program folder (without a trailing backslash) + "\WENDRIX.HLP".
  std::string HelpFile() const;
  // Left and top that centre the form on the screen (division truncates toward zero, so a
  // form larger than the screen gets a negative place).
  void Centre(forms::Form& form) const;
};

// Ok the default button running `onOk`, Cancel the cancel button that closes the form: the pair
// every dialog of the editor has.
void UseOkCancel(forms::Button& ok, forms::Button& cancel, std::function<void()> onOk);

// The frame without its model: the shared fields, the buttons' wiring and the handlers.
class CommandDialog : public forms::Form {
 public:
  // The complete tag text of the confirmed command; empty after Cancel, Esc or the close box.
  std::string ResultText;
  // 1: a fresh command (defaults, first control focused); 0: the opener preset the model.
  std::uint8_t NewCommand = 1;

  const std::string& helpKeyword() const { return helpKeyword_; }

 protected:
  CommandDialog(std::string name, std::string caption, std::string helpKeyword, const DialogServices& services);
  // The dialog's buttons, declared after its fields so that they come last in the tab order:
  // Ok the default button, Cancel the cancel button, Help (may be null) the help keyword.
  void UseButtons(forms::Button& ok, forms::Button& cancel, forms::Button* help);

  const DialogServices& services() const { return services_; }

  // FormShow's part of the dialog.
  virtual void ShowFields() = 0;
  // Ok's part: reads and checks the controls; on success keeps the typed fields, sets
  // ResultText and gives nullopt; otherwise gives the first failure and changes nothing.
  virtual std::optional<forms::Fault> TakeFields() = 0;

 private:
  void FormShow();
  void OkButtonClick();
  void CancelButtonClick();
  void HelpButtonClick();

  std::string helpKeyword_;
  const DialogServices& services_;
};

// A dialog over a model (see the file comment).
template <class Model>
class CommandDialogOf : public CommandDialog {
 public:
  // The typed parameter fields.
  Model model;

 protected:
  using CommandDialog::CommandDialog;
  virtual void ShowModel(const Model& m) = 0;
  virtual Model ReadModel() const = 0;

 private:
  void ShowFields() final {
    if (NewCommand == 1) model = Model{};
    ShowModel(model);
  }
  std::optional<forms::Fault> TakeFields() final {
    Model draft = ReadModel();
    if (std::optional<forms::Fault> fault = draft.Check()) return fault;
    std::optional<std::string> tag = draft.Tag();
    // The checks let through only what the codec writes; a value they missed is refused here
    // rather than written into the macro.
    if (!tag) return forms::Fault{"", "The command cannot be written with these values."};
    model = std::move(draft);
    ResultText = std::move(*tag);
    return std::nullopt;
  }
};

}  // namespace wdx::editor
