// The pickers of a window title, a program name or a macro nickname: "Set Title" / "Set
// Program" for a macro's scope (TDoSpecWind), and the plain list of running windows, running
// programs or nicknames (TDoSpecWind2). Neither writes a tag; the opener reads the choice.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "editor/dialogs/all_prog.h"
#include "editor/dialogs/command_dialog.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/runner.h"
#include "platform/processes.h"
#include "platform/window_system.h"

namespace wdx::editor {

// A macro of the library as the nickname list sees it.
struct MacroName {
  std::string nickname;
  std::int16_t scopeKind = 1;
};

// Every visible top-level window whose title is not blank, by its title as the system gives it.
std::vector<std::string> VisibleWindowTitles(platform::WindowSystem& windows);
// Every running program file (".EXE" in its name, not beginning with "?"), as the system
// spells it; a program running twice is there twice.
std::vector<std::string> RunningProgramNames(platform::Processes& processes);
// The nicknames of the macros that are not system macros and whose nickname is not blank.
std::vector<std::string> MacroNicknames(std::span<const MacroName> macros);

// What the pickers list from.
struct PickerSources {
  platform::WindowSystem* windows = nullptr;
  platform::Processes* processes = nullptr;
  InstalledPrograms* installed = nullptr;
  ProgramScan scan;
  // Macros 1 .. the macro count, in number order.
  std::vector<MacroName> macros;
};

class TDoSpecWind : public forms::Form {
 public:
  TDoSpecWind(PickerSources& sources, forms::FormRunner& runner, const DialogServices& services);

  // 1: window titles; 0: programs.
  std::uint8_t WindowMode = 1;
  // In: the current title or program name; out: the chosen one, empty after Cancel.
  std::string TitleText;
  // In and out: 1 = only while the window or program is on top, 0 = whenever it runs.
  std::uint8_t OnTopOnly = 1;

  forms::Label TopLabel{this, "TopLabel"};
  forms::Edit TheTitle{this, "TheTitle"};
  forms::RadioButton OnTop{this, "OnTop"};
  forms::RadioButton Running{this, "Running"};
  forms::Label Label2{this, "Label2"};
  forms::ListBox ProgList{this, "ProgList"};
  forms::Label Label3{this, "Label3", "(Double Click on one to select)"};
  forms::Button ListProgs{this, "ListProgs", "&Select from list of installed programs"};
  forms::Button OkButton{this, "OkButton", "&Ok"};
  forms::Button CancelButton{this, "CancelButton", "&Cancel"};
  forms::Button HelpButton{this, "HelpButton", "&Help"};

 private:
  void FormShow();
  void GetProgs();
  void ProgListDblClick();
  void ListProgsClick();
  void OkButtonClick();
  void HelpButtonClick();

  PickerSources& sources_;
  forms::FormRunner& runner_;
  const DialogServices& services_;
};

class TDoSpecWind2 : public forms::Form {
 public:
  TDoSpecWind2(PickerSources& sources, forms::FormRunner& runner, const DialogServices& services);

  // 1 visible windows, 2 running programs, 3 macro nicknames.
  std::int32_t ListKind = 1;
  // The chosen entry; empty after Cancel.
  std::string ChosenText;

  forms::Label Label2{this, "Label2"};
  forms::ListBox ProgList{this, "ProgList"};
  forms::Button ListProgs{this, "ListProgs", "&Select from list of installed programs"};
  forms::Button OkButton{this, "OkButton", "&Ok"};
  forms::Button CancelButton{this, "CancelButton", "&Cancel"};

 private:
  void FormShow();
  void OkButtonClick();
  void ListProgsClick();

  PickerSources& sources_;
  forms::FormRunner& runner_;
  const DialogServices& services_;
};

}  // namespace wdx::editor
