// "Build Macro Menu": edits a popup menu (scope 4) or floating menu (scope 9) in the main
// window's CurMacro: which macros it lists and in what order, its name, its icon and how the
// player shows its items. It never writes the library; its opener writes CurMacro when the dialog
// reports it saved (BuildMenuResult).
//
// The record's layout for menus: the options in the Abbrekey field ("Y"/"N" tray, "1" text,
// "2" icons, "3" nickname and scope, "0".."4" icon size, a blank), the item count and the items'
// macro numbers from offset 100, the orientation and icons per row, the icon file name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/dialogs/command_dialog.h"
#include "editor/shell/editor_context.h"
#include "editor/shell/main_win.h"
#include "forms/controls.h"
#include "forms/dialog.h"
#include "forms/draw_list.h"
#include "forms/form.h"
#include "forms/menu.h"
#include "shared/macro_record.h"

namespace wdx::editor {

inline constexpr int kMenuItemsMax = 36;
inline constexpr char kNoMacroSelectedText[] = "No macro selected.  Please select one.";
inline constexpr char kPerRowText[] = "Icons in a row or column must be between 1 and 20.";

// What the dialog knows of the library's macros: the in-memory tables, and the items of popup
// menus (read from the file once, for the self-inclusion rule).
struct MenuLibraryView {
  int count = 0;
  // Index = macro number (slot 0 unused).
  std::vector<std::uint16_t> codes;
  std::vector<std::int16_t> scopes;
  std::vector<std::string> nicknames;
  std::vector<std::string> abbrekeys;
  std::vector<std::string> scopeTexts;
  std::vector<std::vector<int>> popupItems;

  static MenuLibraryView Of(EditorContext& context);
  // The activation name the lists show and sort by.
  std::string ActivationName(int macro) const;
  // What the scope column shows: "GLOBAL", "Popup Menu", "Floating Menu", else the window or
  // program.
  std::string ScopeName(int macro) const;
  // True when `macro` is the menu `self`, or a popup menu that shows `self` through its items,
  // directly or through popup menus it lists in turn.
  bool Shows(int macro, int self) const;
};

// The two lists of the Editor page as a model: the menu's items in order and the macros still
// available (sorted by their activation names, equal names by number), each with its selected
// row (-1: none).
class MenuItemsModel {
 public:
  enum class AddMode { kAdd = 1, kInsertBefore = 2, kInsertAfter = 3 };

  // FillIt: the record's items (its count kept to 0..36) that name a macro of the library and do
  // not show this menu inside itself; the available list is every other macro but system
  // macros, floating menus and the menu itself (and popups that show it).
  MenuItemsModel(const MenuLibraryView& library, const TMacroRec& record, int self);

  const std::vector<int>& items() const { return items_; }
  const std::vector<int>& available() const { return available_; }
  // Items of the record that were left out (no such macro, the menu inside itself, past 36).
  int dropped() const { return dropped_; }
  int itemRow = -1;
  int availableRow = -1;

  bool CanAdd() const;
  bool CanRemove() const { return itemRow >= 0 && itemRow < static_cast<int>(items_.size()); }
  bool CanUp() const { return CanRemove() && itemRow > 0; }
  bool CanDown() const { return CanRemove() && itemRow + 1 < static_cast<int>(items_.size()); }
  // AddALine: the selected available macro into the menu; false (nothing changed) without one.
  bool Add(AddMode mode);
  // RemoveItClick: the selected item back into the available list; false without one.
  bool Remove();
  void Up();
  void Down();

 private:
  int AvailablePlace(int macro) const;
  const MenuLibraryView& library_;
  std::vector<int> items_;
  std::vector<int> available_;
  int dropped_ = 0;
};

// What Quick Info says of a macro listed in the builder, its parts each followed by an empty
// line, the first 100 characters of its text last.
std::string MenuQuickInfo(const TMacroRec& record);

// The options text of a menu record: tray "Y"/"N", the style ("1" text, "2" icons, "3" name and
// scope), "0" + the icon size index, a blank.
std::string MenuOptionsText(bool tray, char style, int iconSizeIndex);
// The icons-per-row field: trimmed, a whole number 1..20; std::nullopt otherwise.
std::optional<std::uint16_t> IconsPerRow(const std::string& text);

class TDoBuildMenu : public forms::Form {
 public:
  TDoBuildMenu(TMainWin& main, EditorContext& context, const DialogServices& services, bool floating, bool modify,
               int self);

  // --- Set by the opener
  bool ModifyMenu = false;
  bool FloatingMenu = false;
  // --- Results
  bool MenuSaved = false;
  bool TrayChanged = false;
  std::string IconName = "MENU";

  MenuItemsModel& model() { return *model_; }

  forms::PageControl MainPage{this, "MainPage"};
  forms::TabSheet MenuEditor{&MainPage, "MenuEditor", "&Editor"};
  forms::TabSheet MenuProperties{&MainPage, "MenuProperties", "&Properties"};

  forms::Label AvailableLabel{&MenuEditor, "AvailableLabel", "Available Macros"};
  forms::DrawListBox OptionBox{&MenuEditor, "OptionBox"};
  forms::Button InsertBefore{&MenuEditor, "InsertBefore", "I&nsert"};
  forms::Button InsertAfter{&MenuEditor, "InsertAfter", "&Insert"};
  forms::Button AddButton{&MenuEditor, "AddButton", "&Add"};
  forms::Label MenuLabel{&MenuEditor, "MenuLabel", "Macros in Menu"};
  forms::DrawListBox Script{&MenuEditor, "Script"};
  forms::Button RemoveIt{&MenuEditor, "RemoveIt", "&Remove"};
  forms::Button DoUp{&MenuEditor, "DoUp", "&Up"};
  forms::Button DoDown{&MenuEditor, "DoDown", "&Down"};

  forms::Label MenuType{&MenuProperties, "MenuType"};
  forms::Label NickLabel{&MenuProperties, "NickLabel", "Nickname:"};
  forms::Edit NickName{&MenuProperties, "NickName"};
  forms::Label IconLabel{&MenuProperties, "IconLabel", "Icon:"};
  forms::SpeedButton MySpeed{&MenuProperties, "MySpeed", forms::Picture{forms::Picture::Kind::kMenu, {}}, 16, "Icon"};
  forms::SpeedButton MySpeed2{&MenuProperties, "MySpeed2", forms::Picture{forms::Picture::Kind::kMenu, {}}, 32,
                              "Icon"};
  forms::CheckBox SysTray{&MenuProperties, "SysTray", "&Place in System Tray"};
  forms::GroupBox ShowGroup{&MenuProperties, "ShowGroup", "What To Show On Menu"};
  forms::RadioButton ShowIcon{&ShowGroup, "ShowIcon", "&Icons"};
  forms::RadioButton ShowText{&ShowGroup, "ShowText", "&First Part of Macro"};
  forms::RadioButton ShowNick{&ShowGroup, "ShowNick", "&Nickname and Scope"};
  forms::Panel IconPanel{&MenuProperties, "IconPanel"};
  forms::Label SizeLabel{&IconPanel, "SizeLabel", "Icon Size"};
  forms::ComboBox IconSize{&IconPanel, "IconSize", forms::ComboStyle::kDropDownList};
  forms::Label PerRowLabel{&IconPanel, "PerRowLabel", "Maximum Icons per column or row"};
  forms::Edit NumPerRow{&IconPanel, "NumPerRow"};
  forms::RadioButton Horz{&IconPanel, "Horz", "&Horizontal"};
  forms::RadioButton Vert{&IconPanel, "Vert", "&Vertical"};

  forms::Button OkButton{this, "OkButton", "&Save"};
  forms::Button CancelButton{this, "CancelButton", "&Cancel"};
  forms::Button HelpButton{this, "HelpButton", "&Help"};

  forms::MenuItem MainMenu;

 private:
  void FormShow();
  void FillIt();
  void EnableDisable();
  void AddALine(MenuItemsModel::AddMode mode);
  void RemoveItClick();
  void Move(bool up);
  void DrawRow(const std::vector<int>& macros, int index, const platform::Rect& rect, forms::Canvas& canvas);
  // Quick Info of the macro of an available row (DoOBInfo) or a menu row (DoSBInfo).
  void QuickInfo(int macro);
  void ShowStyle();
  void MySpeedClick();
  void ResetIcon();
  void ShowMenuIcon();
  void OkButtonClick();
  void HelpButtonClick();

  TMainWin& main_;
  EditorContext& context_;
  const DialogServices& services_;
  int self_;
  MenuLibraryView library_;
  std::optional<MenuItemsModel> model_;
  std::string oldNickname_;
  bool oldTray_ = false;
};

struct BuildMenuRequest {
  bool floating = false;  // FloatingMenu: a floating menu (scope 9), else a popup menu (scope 4)
  bool modify = false;    // ModifyMenu: CurMacro is the library's macro `macro`
  int macro = 0;          // the menu's number (a new menu: the macro count + 1)
};
struct BuildMenuResult {
  bool saved = false;         // MenuSaved: write CurMacro (a new menu: the count is raised already)
  bool trayChanged = false;   // TrayChanged: tell the player to rebuild its tray menu icons (5)
};

// Shows "Build Macro Menu" over main.CurMacro, prepared by the opener (a new menu: its activation
// code set). The lock stays the opener's.
BuildMenuResult BuildMenu(TMainWin& main, EditorContext& context, const BuildMenuRequest& request);

}  // namespace wdx::editor
