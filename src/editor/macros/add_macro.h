// "Add Macro" (TAddNewHotKey): the first step of a new macro. The user picks how it is
// activated (a hot key, an Abbrekey, a schedule, a window title, a popup menu, a mouse click, a
// floating menu or nothing yet) with its particulars, and then the editor that makes its
// contents: the direct text editor ("&Enter Directly", and "&Scripting Editor", which takes the
// same road while the script editor is not in this build), the menu builder for menus, or a
// recording. The dialog writes the activation into the main window's CurMacro and hands it on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "editor/direct/mod_hot_keys.h"
#include "editor/macros/activation_controls.h"
#include "editor/macros/sub_editors.h"
#include "editor/shell/editor_context.h"
#include "editor/shell/main_win.h"

namespace wdx::editor {

inline constexpr char kNoMacrosForMenuText[] =
    "No macros have been defined yet.  A popup or floating menu is created with existing macros.";
inline constexpr char kMenuKeyTakenText[] =
    "Selected Hot Key is already either a GLOBAL or Popup Menu Hot Key.  Hot Key cannot be added.";
inline constexpr char kNoHotKeySelectedText[] = "No hot key selected.  Please select one.";

// What the user chose, and the checks of the roads to the editors.
struct AddMacroModel {
  enum class Kind { kHotKeys, kAbbrekeys, kTimed, kWindowTitle, kPopupMenu, kMouseClick, kFloatingMenu, kNone };
  Kind kind = Kind::kHotKeys;
  int hotKey = -1;         // the chosen row, -1 for none
  bool noHotKey = false;   // a popup menu without a hot key
  std::string name;        // the Abbrekey's name or the window title, as typed
  MouseChoice mouse;

  bool IsMenu() const { return kind == Kind::kPopupMenu || kind == Kind::kFloatingMenu; }
  // The activation of the roads to the direct editor and the recording: the first fault on
  // its field, or the activation stored into `record` (code, Abbrekey, title or mouse area).
  // The reserved-key question is the form's.
  std::optional<forms::Fault> Store(TMacroRec& record) const;
  // The menu road: a library without macros of its own cannot make a menu; a popup menu's key
  // must be chosen and no global, menu or system macro's. The code goes into `record`.
  std::optional<forms::Fault> StoreMenu(TMacroRec& record, bool hasUserMacros, const HotKeyUse& use) const;
  // The direct editor's activation type of the kind (hot key 1, timed 2, Abbrekey 3, none 6,
  // window title 7, mouse click 8).
  std::int32_t EditorType() const;
};

class TAddNewHotKey : public forms::Form {
 public:
  TAddNewHotKey(TMainWin& main, EditorContext& context, DirectEditorServices& services, const SubEditors& editors);

  // --- Set by the opener
  std::int32_t NewNumber = 0;
  // --- Read by the opener
  // A sub-form left a complete new macro in CurMacro (and raised the count): the opener appends it.
  std::uint8_t Added = 0;
  // The menu builder changed a menu shown in the tray.
  std::uint8_t MenuMade = 0;
  // The new menu is a floating menu.
  std::uint8_t FloatMade = 0;
  // A sub-form stored a new macro itself (the direct editor): the library changed.
  bool StoredItself = false;
  // The library lock went to the capture dialog (and to the recording, when one started).
  bool LockHandedOver = false;

  // --- State
  HotKeyUse Taken;  // global, popup-menu and system macros take their keys
  std::uint8_t SelectedTaken = 0;
  std::uint8_t HasUserMacros = 0;

  forms::GroupBox KindGroup{this, "KindGroup", "Macro Activation"};
  forms::RadioButton UseHotKey{&KindGroup, "UseHotKey", "&Hot Keys"};
  forms::RadioButton UseAbbrekeys{&KindGroup, "UseAbbrekeys", "A&bbrekeys"};
  forms::RadioButton TimedMacro{&KindGroup, "TimedMacro", "&Timed Macro"};
  forms::RadioButton UseTitle{&KindGroup, "UseTitle", "&Window Title"};
  forms::RadioButton UsePopup{&KindGroup, "UsePopup", "&Popup Menu"};
  forms::RadioButton UseMouse{&KindGroup, "UseMouse", "&Mouse Click"};
  forms::RadioButton UseFloat{&KindGroup, "UseFloat", "&Floating Menu"};
  forms::RadioButton UseBuilding{&KindGroup, "UseBuilding", "&None (use later)"};

  forms::Label HotKeyLabel{this, "HotKeyLabel", "Place cursor in field below and Press the Hot Key to select"};
  forms::Label SetHotKeyLabel{this, "SetHotKeyLabel", "Select Hot Key"};
  HotKeyChooser Keys;
  forms::CheckBox SetNone{this, "SetNone", "&Do not use a hot key"};
  forms::Label AbbrekeyLabel{this, "AbbrekeyLabel", "Abbrekey Name"};
  forms::Edit AbbrekeyName{this, "AbbrekeyName"};
  MousePanels Mouse;

  forms::Button ScriptButton{this, "ScriptButton", "&Scripting Editor"};
  forms::Button EnterKeyButton{this, "EnterKeyButton", "&Enter Directly"};
  forms::Button CaptureKeyButton{this, "CaptureKeyButton", "&Capture Macro"};
  forms::Button AbortButton{this, "AbortButton", "&Abort"};

  // What the controls say now.
  AddMacroModel Read() const;

 private:
  void FormShow();
  void DisableEnable();
  void ChooseKind();
  void HotKeyFocus(bool focused);
  void SetCaptions(bool withAccelerators);
  void RefreshSelectedTaken();
  // Shows a check's fault and puts the focus on its field; false when there was one.
  bool Passed(const std::optional<forms::Fault>& fault);
  // The checked activation into CurMacro (after the reserved-key question); false when refused.
  bool TakeActivation(const AddMacroModel& choice);
  void DoTheScript();
  void DoModify();
  void DoDirect();
  void DoMenu();
  void DoCapture();
  // After a sub-form: the list again, the new macro's row chosen when listed, the dialog closed.
  void Finish();
  int Box(const std::string& text, const std::string& caption, unsigned flags);

  TMainWin& main_;
  EditorContext& context_;
  DirectEditorServices& services_;
  const SubEditors& editors_;
};

}  // namespace wdx::editor
