// The main window's commands on one macro: add, modify, remove, duplicate, change activation,
// recapture and activate or deactivate. Each works on the macro of the chosen row, takes the
// library lock before it changes anything, opens the dialog that edits the macro, stores the
// result through the library store, refreshes the list, tells the player what it must rebuild
// and gives the lock back (as a change only when something was stored).
#pragma once

#include <memory>

#include "editor/direct/mod_hot_keys.h"
#include "editor/macros/sub_editors.h"
#include "editor/shell/editor_context.h"
#include "editor/shell/main_win.h"

namespace wdx::editor {

inline constexpr char kNoMacrosYetText[] = "No hot keys have been added yet.  Please add one first.";
inline constexpr char kMacroLimitText[] = "Maximum number of hot keys has been reached.  Add not allowed.";

class MacroOperations {
 public:
  MacroOperations(TMainWin& main, EditorContext& context, std::shared_ptr<DirectEditorServices> services,
                  SubEditors editors);

  void DoAdd();
  // The selected macro in its editor: the menu builder for menus, the direct text editor for the
  // rest (also the road of "Scripting Editor" while the script editor is not in this build).
  void DoModify();
  void DoClear();
  void DoCopy();
  // `lockHeld`: the caller took the lock already.
  void DoMove(bool lockHeld = false);
  void DoCapture();
  void DoActivate();
  // The per-macro commands' captions and enabling for the macro of grid row `row`; a negative
  // row does nothing.
  void CheckTimeItem(int row);

  SubEditors& Editors() { return editors_; }

 private:
  // The common start: a macro listed and chosen (else the guard's message); its number or 0.
  int ChosenMacro();
  void Tell(int code, std::int64_t argument = 0);
  int Box(const std::string& text, const std::string& caption, unsigned flags);
  void ModifyMenu(int n);
  // CurMacro appended as macro count + 1 (`count`: the count before the dialog), the list
  // refilled on it; its number, or 0 when it could not be written (the lock then given back
  // when the caller holds it).
  int AppendCurMacro(std::int32_t count, bool lockHeld);

  TMainWin& main_;
  EditorContext& context_;
  std::shared_ptr<DirectEditorServices> services_;
  SubEditors editors_;
};

// The feature: the direct text editor and the macro operations on the main window's commands.
// `editors` are the capture dialog and the menu builder when they are installed.
std::shared_ptr<MacroOperations> InstallMacroOperations(TMainWin& main, EditorContext& context, SubEditors editors);
// As an EditorFeature of the program, with the sub-editors this build has.
void InstallMacroCommands(TMainWin& main, EditorContext& context);

}  // namespace wdx::editor
