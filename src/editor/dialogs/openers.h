// The openers of the command dialogs and the protocol they share.
//
// Four places open command dialogs: the direct text editor (inserts the tag at its caret), the
// script editor (one method per command family, adding or replacing one line from the
// dialog's typed fields), the Command Wizard palette (calls the script editor's methods in
// adding mode) and the quick wizard (keeps the tag as its macro's final command). Each one:
//
//   1. creates the dialog for one showing;
//   2. sets NewCommand and the dialog's mode, and for an existing command presets `model`
//      (the direct text editor and the quick wizard ask for a fresh command, NewCommand 1;
//      the script editor gives 0 and presets the model or checks the option of the line's
//      type);
//   3. shows it modally (ShowCommandDialog);
//   4. takes the result only when ResultText is not empty, and changes nothing otherwise;
//   5. lets it go.
//
// The interfaces below are what the openers offer to the dialogs' callers; the editor's
// windows implement them.
#pragma once

#include <string>
#include <string_view>

#include "editor/dialogs/command_dialog.h"
#include "forms/runner.h"

namespace wdx::editor {

// Steps 3 and 4's test: shows the dialog modally; true when the user confirmed a command
// (ResultText then holds it, and `model` its typed fields).
inline bool ShowCommandDialog(forms::FormRunner& runner, CommandDialog& dialog) {
  runner.ShowModal(dialog);
  return !dialog.ResultText.empty();
}

// The direct text editor: the tag goes in at the caret when the macro text has room for it.
class DirectEditorOpener {
 public:
  virtual ~DirectEditorOpener() = default;
  // False (and the text unchanged) when the macro text would grow beyond its limit.
  virtual bool InsertAtCaret(std::string_view tag) = 0;
  // The block-case command goes at the end of the text, not at the caret.
  virtual bool AppendToText(std::string_view tag) = 0;
};

// The script editor's per-family methods for the families built so far (each family adds its
// own). isAdd: a new line of the command type given, else the highlighted line is edited.
// Each sets LineAdded: true when the dialog gave a result and the line went in.
class ScriptFamilyOpener {
 public:
  virtual ~ScriptFamilyOpener() = default;
  virtual void MyRemark(bool isAdd) = 0;
  virtual void MyKeyUp(bool isAdd, int type) = 0;
  virtual void MyKeyTog(bool isAdd, int type) = 0;
  // The block-case command types have no script line.
  virtual void ManBlock(bool isAdd, int type) = 0;
  virtual bool LineAdded() const = 0;
};

// The Command Wizard palette: adds the command of a type through the script editor's methods.
class CommandPaletteOpener {
 public:
  virtual ~CommandPaletteOpener() = default;
  virtual void AddCommand(int type) = 0;
};

// The quick wizard: the confirmed tag becomes the macro's final command.
class QuickWizardOpener {
 public:
  virtual ~QuickWizardOpener() = default;
  virtual void TakeFinalCommand(std::string tag) = 0;
};

}  // namespace wdx::editor
