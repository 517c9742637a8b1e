// The case of the text selected in the target program ("Manipulate Block"): upper, lower or
// swapped. Opened by the direct text editor only, which appends the tag to the end of its text.
#pragma once

#include <string>

#include "editor/dialogs/command_dialog.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "shared/command_layouts.h"

namespace wdx::editor {

class TfrmBlock : public forms::Form {
 public:
  explicit TfrmBlock(const DialogServices& services);

  // The tag of the chosen case once the user confirmed with OK; empty otherwise, so that an
  // opener that reads only ResultText, as with every other command dialog, cannot take a
  // cancelled choice.
  std::string ResultText;

  forms::GroupBox Commands{this, "Commands", "Commands"};
  forms::RadioButton rbtnLowercase{&Commands, "rbtnLowercase", "Lowercase Block"};
  forms::RadioButton rbtnUppercase{&Commands, "rbtnUppercase", "Uppercase Block"};
  forms::RadioButton rbtnToggle{&Commands, "rbtnToggle", "Toggle Block Case"};
  forms::Button btnOk{this, "btnOk", "&OK"};
  forms::Button btnCancel{this, "btnCancel", "&Cancel"};
  forms::Button btnHelp{this, "btnHelp", "&Help"};

 private:
  void FormClose();
  void btnHelpClick();

  const DialogServices& services_;
};

}  // namespace wdx::editor
