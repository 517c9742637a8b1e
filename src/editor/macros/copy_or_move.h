// The change of a macro's activation (TCopyOrMove): a copy of the macro under a new activation
// ("&Duplicate Macro"), the same macro given another one ("Change &Macro Activation"), or an
// imported macro's activation. The opener has read the macro into the main window's CurMacro;
// the dialog checks the new activation, writes it into CurMacro and says so in Accepted; the
// opener writes the record. For a copy the dialog has raised the macro count already.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "editor/dialogs/command_dialog.h"
#include "editor/macros/activation_controls.h"
#include "editor/shell/editor_context.h"
#include "editor/shell/main_win.h"

namespace wdx::editor {

// The heading over the dialog: `verb` ("COPY", "MOVE") and the macro's activation, then "TO".
std::string ActivationHeading(const std::string& verb, const TMacroRec& record);

struct CopyMoveModel {
  enum class Kind { kHotKey, kAbbrekey, kTimed, kWindowTitle, kMouseClick, kNone };
  Kind kind = Kind::kHotKey;
  int hotKey = -1;
  bool noHotKey = false;  // a menu on "&Popup Menu" without a hot key
  std::string name;       // the Abbrekey's name or the window title, as typed
  MouseChoice mouse;
  bool changeActivation = false;

  // The new activation into `record` (the macro as read; a menu when its scope kind is 4 or
  // 9), or the first fault on its field. `use.taken` holds the keys of global and popup-menu
  // macros. A timed activation gets only its code here; the schedule is the form's. The
  // reserved-key question is the form's.
  std::optional<forms::Fault> Store(TMacroRec& record, const HotKeyUse& use) const;
};

class TCopyOrMove : public forms::Form {
 public:
  TCopyOrMove(TMainWin& main, EditorContext& context, const DialogServices& services);

  // --- Set by the opener
  // 1: the macro keeps its number; 0: a copy or an import (appended by the opener).
  std::uint8_t ChangeActivation = 0;
  // The macro changed (its own key is never in its way); 0 for an import.
  std::int32_t MacroNumber = 0;
  // --- Read by the opener
  std::uint8_t Accepted = 0;

  HotKeyUse Taken;

  forms::Panel HeadPanel{this, "HeadPanel"};
  forms::Label HotKeyLabel{&HeadPanel, "HotKeyLabel"};
  forms::GroupBox KindGroup{this, "KindGroup", "New Activation"};
  forms::RadioButton UseHotKey{&KindGroup, "UseHotKey", "&Hot Key"};
  forms::RadioButton UseAbbrekey{&KindGroup, "UseAbbrekey", "&Abbrekey"};
  forms::RadioButton TimedMacro{&KindGroup, "TimedMacro", "&Timed Macro"};
  forms::RadioButton UseTitle{&KindGroup, "UseTitle", "&Window Title"};
  forms::RadioButton UseMouse{&KindGroup, "UseMouse", "&Mouse Click"};
  forms::RadioButton UseNone{&KindGroup, "UseNone", "&None (use later)"};
  HotKeyChooser Keys;
  forms::Label HotKeyLab{this, "HotKeyLab", "(Press the Hot Key)"};
  forms::CheckBox SetNone{this, "SetNone", "&Do not use a hot key"};
  forms::Label AbbrekeyLabel{this, "AbbrekeyLabel", "Abbrekey Name"};
  forms::Edit AbbrekeyEntry{this, "AbbrekeyEntry"};
  MousePanels Mouse;
  forms::Button OkButton{this, "OkButton", "&Ok"};
  forms::Button CancelButton{this, "CancelButton", "&Cancel"};
  forms::Button HelpButton{this, "HelpButton", "&Help"};

  CopyMoveModel Read() const;

 private:
  void FormShow();
  void EnableDisable();
  void ChooseKind();
  void OkButtonClick();
  bool IsMenu() const;

  TMainWin& main_;
  EditorContext& context_;
  const DialogServices& services_;
};

}  // namespace wdx::editor
