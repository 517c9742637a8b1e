// The direct text editor ("Modify Directly Editor"): one macro's stored text raw in a memo, and
// on a second page its activation, nickname, scope, icon, schedule and activation options. It
// edits the main window's current macro in place and writes it to the library itself on every
// save; its opener gets nothing back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "editor/dialogs/all_prog.h"
#include "editor/dialogs/command_dialog.h"
#include "editor/dialogs/search.h"
#include "editor/shell/editor_context.h"
#include "editor/shell/main_win.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/menu.h"

namespace wdx::editor {

inline constexpr char kModifiedQuestion[] = "The macro has been modified.  Save changes?";
inline constexpr char kTooLongQuestion[] =
    "The size of the macro exceeds the 5,000 character limit.  The macro will be truncated to 5,000 characters. "
    "Would you like to exit and have the macro truncated?";
inline constexpr char kInvalidAbbrekeyText[] =
    "The Abbrekey name has invalid characters in it.  Valid characters are A - Z, a - z, 0 - 9 and ' ! @ # $ % ^ & _ "
    "= < > ? . ; , * - / + \\";

// What the editor keeps between two openings of the direct text editor: the dialogs' services
// and the installed programs the scope picker lists.
struct DirectEditorServices {
  DialogServices dialogs;
  InstalledPrograms installed;
};

class TModHotKeys : public forms::Form {
 public:
  TModHotKeys(TMainWin& main, EditorContext& context, DirectEditorServices& services);

  // --- Set by the opener
  std::int32_t ActivationType = 1;
  // 1: CurMacro is the library's macro `MacroNumber`; 0: a new macro, appended by the first save.
  std::uint8_t ExistingMacro = 1;
  // 1: another global, menu or system macro has the hot key, so the scope cannot be global.
  std::uint8_t HotKeyTaken = 0;
  // The macro every save rewrites: taken when the editor opens, never from the list's row.
  std::int32_t MacroNumber = 0;

  // --- State
  std::uint8_t Saved = 0;
  std::uint8_t Modified = 0;
  std::string IconName = "MAIN";
  // Whether any save completed while the editor was open (the library changed).
  bool anySave() const { return anySave_; }
  TextSearch search;

  forms::PageControl MainPage{this, "MainPage"};
  forms::TabSheet ScriptEditor{&MainPage, "ScriptEditor", "Edi&tor"};
  forms::TabSheet ScriptProperties{&MainPage, "ScriptProperties", "&Properties"};

  forms::Label EditorHeading{&ScriptEditor, "EditorHeading", "Enter Keystrokes"};
  forms::Memo NewFormat{&ScriptEditor, "NewFormat"};

  forms::Panel NormalPanel{&ScriptProperties, "NormalPanel"};
  forms::Label Label5{&NormalPanel, "Label5", "Macro Type:"};
  forms::Label TypeLabel{&NormalPanel, "TypeLabel"};
  forms::Label NickLabel{&NormalPanel, "NickLabel", "Nickname:"};
  forms::Edit NickName{&NormalPanel, "NickName"};
  forms::Label ActLabel{&NormalPanel, "ActLabel", "Activation:"};
  forms::Label HotKeyLabel{&NormalPanel, "HotKeyLabel"};
  forms::Edit AbbrekeyName{&NormalPanel, "AbbrekeyName"};
  forms::Label IconLabel{&NormalPanel, "IconLabel", "Icon:"};
  forms::SpeedButton MySpeed{&NormalPanel, "MySpeed", forms::Picture{forms::Picture::Kind::kMacro, {}}, 16, "Icon"};
  forms::SpeedButton MySpeed3{&NormalPanel, "MySpeed3", forms::Picture{forms::Picture::Kind::kMacro, {}}, 32, "Icon"};
  forms::Label Label6{&NormalPanel, "Label6", "Scope:"};
  forms::Panel ScopePanel{&NormalPanel, "ScopePanel"};
  forms::RadioButton Global{&ScopePanel, "Global", "&Global"};
  forms::RadioButton Specific{&ScopePanel, "Specific", "&Window"};
  forms::RadioButton ProgExe{&ScopePanel, "ProgExe", "Progra&m"};
  forms::Button ChooseWinProg{&NormalPanel, "ChooseWinProg", "Selec&t"};
  forms::Label WinProgSelect{&NormalPanel, "WinProgSelect"};
  forms::Button SetSchedule{&NormalPanel, "SetSchedule", "Set Sche&dule"};
  forms::Button ChangeType{&NormalPanel, "ChangeType", "Change Macro T&ype"};

  forms::GroupBox ShortPanel{&NormalPanel, "ShortPanel", "Abbrekey Options"};
  forms::GroupBox CaseGroup{&ShortPanel, "CaseGroup", "Case Sensitivity"};
  forms::RadioButton CaseMatch{&CaseGroup, "CaseMatch", "Match &Uppercase First Char Between Abbrekey &&Text"};
  forms::RadioButton CaseSense{&CaseGroup, "CaseSense", "Require E&xact Upper/Lowercase Match on Abbrekey"};
  forms::RadioButton CaseNone{&CaseGroup, "CaseNone", "&None"};
  forms::GroupBox OtherGroup{&ShortPanel, "OtherGroup", "Other"};
  forms::CheckBox NoRemove{&OtherGroup, "NoRemove", "&Do Not Remove Keystrokes Typed"};

  forms::GroupBox MousePanel{&NormalPanel, "MousePanel", "Mouse Activation"};
  forms::Label ButtonLabel{&MousePanel, "ButtonLabel", "Button to Activate With:"};
  forms::Panel ButtonPanel{&MousePanel, "ButtonPanel"};
  forms::RadioButton LeftMButton{&ButtonPanel, "LeftMButton", "&Left"};
  forms::RadioButton MiddleButton{&ButtonPanel, "MiddleButton", "M&iddle"};
  forms::RadioButton RightMButton{&ButtonPanel, "RightMButton", "&Right"};
  forms::Label ClickLabel{&MousePanel, "ClickLabel", "What To Click On"};
  forms::Panel ClickPanel{&MousePanel, "ClickPanel"};
  forms::RadioButton ScreenArea{&ClickPanel, "ScreenArea", "&Area On Screen"};
  forms::RadioButton WindowPart{&ClickPanel, "WindowPart", "Win&dow Part"};
  forms::Panel ClickPanel2{&MousePanel, "ClickPanel2"};
  forms::Label AreaText{&ClickPanel2, "AreaText", "Enter the region (in pixels) of where to click on the screen"};
  forms::Label TopLabel{&ClickPanel2, "TopLabel", "Top"};
  forms::Edit MTop{&ClickPanel2, "MTop"};
  forms::Label LeftLabel{&ClickPanel2, "LeftLabel", "Left"};
  forms::Edit MLeft{&ClickPanel2, "MLeft"};
  forms::Label BottomLabel{&ClickPanel2, "BottomLabel", "Bottom"};
  forms::Edit MBottom{&ClickPanel2, "MBottom"};
  forms::Label RightLabel{&ClickPanel2, "RightLabel", "Right"};
  forms::Edit MRight{&ClickPanel2, "MRight"};
  forms::Panel ClickPanel3{&MousePanel, "ClickPanel3"};
  forms::RadioButton MaxButt{&ClickPanel3, "MaxButt", "Maximize Button"};
  forms::RadioButton MinButt{&ClickPanel3, "MinButt", "Minimize Button"};
  forms::RadioButton SysButt{&ClickPanel3, "SysButt", "System Menu"};
  forms::RadioButton VertButt{&ClickPanel3, "VertButt", "Vertical Scroll Bar"};
  forms::RadioButton HorzButt{&ClickPanel3, "HorzButt", "Horiz Scroll Bar"};
  forms::RadioButton TitleButt{&ClickPanel3, "TitleButt", "Title Bar"};
  forms::RadioButton MenuButt{&ClickPanel3, "MenuButt", "Menu"};
  forms::RadioButton BordButt{&ClickPanel3, "BordButt", "Window Border"};

  forms::Button SaveButton{this, "SaveButton", "&Apply"};
  forms::Button CancelButton{this, "CancelButton", "&Cancel"};
  forms::Button HelpButton{this, "HelpButton", "&Help"};
  forms::Button btnSaveClose{this, "btnSaveClose", "&OK"};

  forms::MenuItem MainMenu;

  // The save of the Apply button: true when it completed (the record is written).
  bool SaveButtonClick();
  // The right mouse button on an icon: back to the default icon when the user agrees.
  void ResetIcon();

 private:
  void BuildMenu();
  void FormShow();
  void FormClose(forms::CloseAction& action);
  void FormKeyPress(char& key);
  void FormKeyDown(std::uint8_t& vk);
  void DoSetup();
  void DoCaption();
  void SetWinProgSelect();
  void ShowScopeRule(bool windowAllowed);
  void GlobalClick();
  void SpecificClick();
  void ChooseWinProgClick();
  void SetScheduleClick();
  void ChangeTypeClick();
  void MySpeedClick();
  void ShowIcon(const forms::Picture& picture);
  void EnableDisableMouse();
  void SetLeftButtonStuff();
  void WindowPartClick();
  void LeftMButtonClick();
  void RightMButtonClick();
  void MainPageChange();
  void btnSaveCloseClick();
  void CancelButtonClick();
  void HelpButtonClick();
  // A failed check of the save: its message, the Properties page, the field focused.
  void Refuse(forms::Control& field, const std::string& message);
  std::string ProgramName() const;
  // The clipboard commands on the focused memo or edit field.
  forms::TextBox* FocusedText();
  void MenuCut(bool keep);
  void MenuPaste();
  void MenuDelete();
  void MenuFindClick();
  void MenuFindAgainClick();
  void SearchandReplace1Click();
  void MenuImportClick();
  void MenuExportClick();

  TMainWin& main_;
  EditorContext& context_;
  DirectEditorServices& services_;
  bool anySave_ = false;
};

// DoModify: the macro of the selected row, under the network lock, in the direct text editor
// (after its password when it has one). The lock is released once when the editor closes: as a
// change when a save completed. True when a save completed.
bool ModifyDirectly(TMainWin& main, EditorContext& context, DirectEditorServices& services);

// The feature: "Modify Directly" opens the selected macro in the direct text editor; Quick Info
// and the output to a text file. With `services`, the ones the caller shares with its own uses
// of the direct editor.
void InstallDirectEditor(TMainWin& main, EditorContext& context);
void InstallDirectEditor(TMainWin& main, EditorContext& context, std::shared_ptr<DirectEditorServices> services);

}  // namespace wdx::editor
