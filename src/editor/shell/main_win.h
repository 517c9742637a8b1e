// The editor's main window: the frame every editor feature lands on. It is a form over the
// editor's state (the library store, the player link, the macro list model): two pages ("Macros"
// with the speed buttons, the letter buttons, the categories and the macro grid; "Quick Wizards"
// with the 29 wizard buttons), the main menu, the start and close of the editor, the caption,
// the enabling of the per-macro commands, and the messages the player and the hook library send.
//
// A command is one named action (kActions in main_win.cpp): its menu item and, where it has
// them, its speed button and its letter button. A feature fills it with Bind(action, handler);
// an action nobody bound says it is not available in this build.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/shell/companion_files.h"
#include "editor/shell/editor_context.h"
#include "editor/shell/library_sync.h"
#include "editor/shell/macro_list.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/grid.h"
#include "forms/menu.h"
#include "shared/capture_file.h"
#include "shared/macro_record.h"

namespace wdx::editor {

inline constexpr char kNotAvailableText[] = "This command is not available in this build.";
inline constexpr char kNoticeCaption[] = "Notice";
inline constexpr char kInvalidFileTypeText[] = "Invalid file type selected.";
inline constexpr char kFileMissingText[] = "File does not exist.";
inline constexpr char kTerminateCaption[] = "&Terminate Wendrix Editor";
inline constexpr int kWizardCount = 29;

// The picture of a macro's icon as the lists draw it.
forms::Picture PictureOf(const MacroIcon& icon);

class TMainWin : public forms::Form {
 public:
  explicit TMainWin(EditorContext& context);
  ~TMainWin() override;

  // FormCreate: the command line first (the player's window must be known before any notice
  // goes out), then the library, the companion files, the hook library's data groups, the
  // window's place and panels from the settings.
  void FormCreate(const std::vector<std::string>& args);
  // ProcessParam: "/RH" + the player's window in decimal (any case).
  void ProcessParam(std::string_view arg);

  // Fills a named action: its menu item, speed button and letter button run `handler`.
  void Bind(std::string_view action, std::function<void()> handler);

  // --- What other parts of the editor use
  platform::WindowHandle PlayerWnd() const { return context_.link->PlayerWnd(); }
  TMacroRec CurMacro;
  MacroList& List() { return list_; }
  int CategoryFilter() const { return categoryFilter_; }
  void SetCategoryFilter(int id) { categoryFilter_ = id; }
  bool ListEmpty() const { return list_.empty(); }
  // FillList: the rows again from the tables, sorted; row 1 chosen.
  void FillList();
  // The grid chooses the row of `macro` when it is listed; false otherwise.
  bool SelectMacro(int macro);
  // The macro of the chosen row, or -1.
  int SelectedMacro() const;
  void SetButtons(bool enable);
  void DoCaption();
  void SaveStretchDim();
  // DoOpen, DoNew and a recent-file item: another library becomes current.
  void DoOpen();
  void DoNew();
  void OpenSaveFile(const std::string& fileName);
  void SetMenuLastFiles();
  // GetCatFile: the categories of the current library into the category list (the file made
  // empty when missing); every category listed again.
  void GetCatFile();
  // GetSwapFile: the remap table of the current library into the player's remap block.
  void GetSwapFile();
  const CategoryList& Categories() const { return categories_; }
  // The library changed on disk (network mode): reloaded with its companion files, the list
  // refilled on the row chosen before (the last row when the list became shorter); with
  // `tellPlayer` the player is told to switch (2) and to rebuild its schedules (3).
  void ReloadChangedLibrary(bool tellPlayer);
  // MenuNetworkClick: the network considerations dialog; whatever closed it, [Network] is
  // written and the player told (12).
  void MenuNetworkClick();
  // EncryptIt / DecryptIt with the system's text key.
  std::string EncryptIt(const std::string& text);
  std::string DecryptIt(const std::string& text);
  // The editor's message box, owned by the main window.
  int Box(const std::string& text, const std::string& caption, unsigned flags);

  // --- The recording started from the editor (the capture dialog starts it; the hook library's
  // UM_CAPTUREDONE ends it). Only a recording started here is ended here, once: a stray or
  // repeated message changes no record. The library lock its opener took is the recording's
  // from its start and is given back exactly once, at its end, whatever becomes of it.
  struct Capture {
    bool recording = false;   // started here and not yet ended
    bool ending = false;      // CaptureEnding
    int macro = 0;            // CapturedMacro
    bool toProgram = false;   // CaptureToProgram
    bool holdsLock = false;   // the library lock is the recording's to give back
    bool writeFailed = false; // a character could not be kept (said once)
  };
  const Capture& Recording() const { return capture_; }
  // The work file of recordings started here (program folder + "\TempCap.Txt"), shared with the
  // player's recordings.
  CaptureWorkFile& CaptureWork();
  // The recording of macro `macro` has started (the work file is open, the hook library set up):
  // its characters and its end come here, and the lock is the recording's.
  void BeginRecording(int macro, bool toProgram);
  void CaptureChar(std::uint64_t wparam, std::int64_t lparam);
  void CaptureDone(std::uint64_t wparam);

  // UM_CONTROL from the player.
  void ControlFromPlayer(std::uint64_t code, std::int64_t argument);

  // --- The form's components (names as in the design)
  forms::PageControl MyPage{this, "MyPage"};
  forms::TabSheet PageMacro{&MyPage, "PageMacro", "M&acros"};
  forms::TabSheet PageWiz{&MyPage, "PageWiz", "&Quick Wizards"};

  forms::Panel SpeedPanel{&PageMacro, "SpeedPanel"};
  forms::SpeedButton AddSpeed{&SpeedPanel, "AddSpeed", forms::Glyph::kNew, "Add Macro"};
  forms::SpeedButton ScriptSpeed{&SpeedPanel, "ScriptSpeed", forms::Glyph::kProperties,
                                 "Modify Macro Using Scripting Editor"};
  forms::SpeedButton EditSpeed{&SpeedPanel, "EditSpeed", forms::Glyph::kCut, "Modify Macro Directly"};
  forms::SpeedButton CopySpeed{&SpeedPanel, "CopySpeed", forms::Glyph::kCopy, "Copy Macro"};
  forms::SpeedButton DeleteSpeed{&SpeedPanel, "DeleteSpeed", forms::Glyph::kDelete, "Delete Macro"};
  forms::SpeedButton RecaptureSpeed{&SpeedPanel, "RecaptureSpeed", forms::Glyph::kRedo, "Recapture Macro"};
  forms::SpeedButton RenameSpeed{&SpeedPanel, "RenameSpeed", forms::Glyph::kReplace, "Change Macro Activation"};
  forms::SpeedButton ActivateSpeed{&SpeedPanel, "ActivateSpeed", forms::Glyph::kUndo, "Activate Macro"};
  forms::SpeedButton SortSpeed{&SpeedPanel, "SortSpeed", forms::Glyph::kFind, "Sort Order"};
  forms::SpeedButton OpenSpeed{&SpeedPanel, "OpenSpeed", forms::Glyph::kOpen, "Open Macro File"};
  forms::SpeedButton NewSpeed{&SpeedPanel, "NewSpeed", forms::Glyph::kSave, "New Macro File"};
  forms::SpeedButton ImportSpeed{&SpeedPanel, "ImportSpeed", forms::Glyph::kPaste, "Import Macros"};
  forms::SpeedButton ExportSpeed{&SpeedPanel, "ExportSpeed", forms::Glyph::kPrintPreview, "Export Macros"};
  forms::SpeedButton PrintSpeed{&SpeedPanel, "PrintSpeed", forms::Glyph::kPrint, "Print Macro List"};
  forms::SpeedButton AppearSpeed{&SpeedPanel, "AppearSpeed", forms::Glyph::kProperties, "Appearance"};
  forms::SpeedButton HelpSpeed{&SpeedPanel, "HelpSpeed", forms::Glyph::kHelp, "Help"};

  forms::Panel LetterPanel{&PageMacro, "LetterPanel"};
  forms::Label ChangeHeading{&LetterPanel, "ChangeHeading", "Change Macro"};
  forms::Button EnterKeyButton{&LetterPanel, "EnterKeyButton", "Modif&y Directly"};
  forms::Button DoScript{&LetterPanel, "DoScript", "&Scripting Editor"};
  forms::Button CaptureKeyButton{&LetterPanel, "CaptureKeyButton", "Recapt&ure Macro"};
  forms::Button MoveHotKey{&LetterPanel, "MoveHotKey", "Cha&nge Activation"};
  forms::Button ButtonActivate{&LetterPanel, "ButtonActivate", "Acti&vate Macro"};
  forms::Label CreateHeading{&LetterPanel, "CreateHeading", "Create Macro"};
  forms::Button AddHotKey{&LetterPanel, "AddHotKey", "Add Ma&cro"};
  forms::Button CopyHotKey{&LetterPanel, "CopyHotKey", "&Duplicate Macro"};
  forms::Label DeleteHeading{&LetterPanel, "DeleteHeading", "Delete Macro"};
  forms::Button ClearHotKey{&LetterPanel, "ClearHotKey", "R&emove Macro"};

  forms::Panel CatPanel{&PageMacro, "CatPanel"};
  forms::Label CatHeading{&CatPanel, "CatHeading", "Categories"};
  forms::ListBox CatList{&CatPanel, "CatList"};
  forms::Button CatRename{&CatPanel, "CatRename", "Rename"};
  forms::Button CatNew{&CatPanel, "CatNew", "New"};
  forms::Button CatRemove{&CatPanel, "CatRemove", "Remove"};

  forms::DrawGrid MyGrid{&PageMacro, "MyGrid"};

  std::vector<std::unique_ptr<forms::Button>> WizardButtons;

  forms::MenuItem MacroMenu;

  // Network mode: the library refresh every minute and the lock heartbeat every 30 seconds.
  forms::Timer SyncTimer{this, "SyncTimer", kSyncTimerMs};
  forms::Timer NetTimer{this, "NetTimer", kHeartbeatMs};

 private:
  void BuildMenu();
  void BuildWizardPage();
  void WireHandlers();
  void Arrange();
  void FormShow();
  void FormClose(forms::CloseAction& action);
  bool FormMessage(std::uint32_t message, std::uint64_t wparam, std::int64_t lparam);
  void NotAvailable();
  void AdjustGridSpacing();
  void MyGridDrawCell(int col, int row, const platform::Rect& rect, forms::CellState state, forms::Canvas& canvas);
  void MyGridColumnSized(int col, int width);
  void MyGridCellClick(forms::MouseButton button, int col, int row);
  void MyGridKeyPress(char& key);
  void MyGridKeyDown(std::uint8_t& vk);
  void MenuTerminateClick();
  void MenuMouseLocClick();
  // What follows a switch to another library (open, new, recent file).
  void AfterSwitch(const std::string& oldName, const std::string& newName);
  std::string DateAndTimeNow();
  void RestoreAndShow();
  void AttachLock();
  SortOrder CurrentSortOrder() const;

  EditorContext& context_;
  MacroList list_;
  int categoryFilter_ = kAllCategories;
  bool closing_ = false;
  bool firstShowDone_ = false;
  Capture capture_;
  std::unique_ptr<CaptureWorkFile> captureWork_;
  // Gives the recording's lock back, once.
  void ReleaseCaptureLock(int changes);
  CategoryList categories_;
};

}  // namespace wdx::editor
