// The programs reachable from the Start menu's shortcuts ("List of Installed Programs"), and
// the list of them that the editor keeps for its whole run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/dialogs/command_dialog.h"
#include "forms/controls.h"
#include "forms/draw_list.h"
#include "forms/form.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell_links.h"

namespace wdx::editor {

// Kept by the editor's main window from its start (empty, not built) until it ends; filled by
// the first scan. An entry is the shortcut's file name (with its ".lnk") followed at once by
// the program's file name: "Notepad.lnkNOTEPAD.EXE".
struct InstalledPrograms {
  std::vector<std::string> entries;
  bool built = false;
};

// What the installed-program scan reads: the Start-menu folders from the registry, their files
// and the shortcuts' targets.
struct ProgramScan {
  platform::Registry* registry = nullptr;
  platform::Files* files = nullptr;
  platform::ShellLinks* links = nullptr;
};

// Scans the user's Start-menu folder, then the common one, with their sub-folders, once: each
// shortcut to an existing program file (".EXE", not the help viewer) adds its entry unless an
// entry equal to it without case is there. Marks the list built; a built list is left alone.
void LoadInstalledPrograms(InstalledPrograms& list, const ProgramScan& scan);

// The program's file name of an entry: the part after ".lnk".
std::string ProgramNameOf(std::string_view entry);
// The shortcut's name of an entry: the part before ".lnk".
std::string ShortcutNameOf(std::string_view entry);

class TDoAllProgs : public forms::Form {
 public:
  TDoAllProgs(InstalledPrograms& list, const ProgramScan& scan, const DialogServices& services);

  // 1 when Ok chose an entry.
  std::uint8_t Chosen = 0;
  // The chosen program's file name, without its folder.
  std::string ProgramName;

  forms::Label NameHead{this, "NameHead", "Program Name"};
  forms::Label ExeHead{this, "ExeHead", "Program EXE"};
  forms::DrawListBox ProgBox{this, "ProgBox"};
  forms::Button OkButton{this, "OkButton", "&Ok"};
  forms::Button CancelButton{this, "CancelButton", "&Cancel"};

  // The entries in the order the list shows them.
  const std::vector<std::string>& shownEntries() const { return shown_; }

 private:
  void FormShow();
  void LoadProgName();
  void OkButtonClick();
  // Two columns: the shortcut's name, and at three fifths of the width the program file, with
  // grey rules between the columns and under each row.
  void ProgBoxDrawItem(int index, const platform::Rect& rect, bool selected, forms::Canvas& canvas);

  InstalledPrograms& list_;
  ProgramScan scan_;
  const DialogServices& services_;
  std::vector<std::string> shown_;
};

}  // namespace wdx::editor
