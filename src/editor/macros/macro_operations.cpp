#include "editor/macros/macro_operations.h"

#include <algorithm>
#include <vector>

#include "editor/macros/add_macro.h"
#include "editor/macros/copy_or_move.h"
#include "shared/hot_keys.h"
#include "shared/protocol_messages.h"

namespace wdx::editor {

namespace {

constexpr char kDeleteCaption[] = "Delete";
constexpr char kRemoveFailedText[] = "The macro could not be removed.  The macro file was not changed.";
constexpr char kActivateFailedText[] = "The macro file could not be changed.  The macro was not activated or deactivated.";

bool IsMenu(std::int16_t kind) { return kind == scope::kPopupMenu || kind == scope::kFloatingMenu; }

bool MenuLists(const TMacroRec& menu, int macro) {
  const int count = std::clamp<int>(menu.MenuItemCount(), 0, macro_rec::kMaxMenuItems);
  for (int item = 1; item <= count; ++item) {
    if (menu.MenuItem(item) == macro) return true;
  }
  return false;
}

// How the remove questions name the macro.
std::string RemovedName(const TMacroRec& r) {
  const std::uint16_t code = r.ActivationCode();
  if (code == wdx::activation::kTimed) return "Timed Macro";
  if (code == wdx::activation::kAbbrekey) return r.Abbrekey();
  if (IsHotKeyIndex(code)) return std::string(HotKeyName(code));
  return "this macro";
}

}  // namespace

MacroOperations::MacroOperations(TMainWin& main, EditorContext& context, std::shared_ptr<DirectEditorServices> services,
                                 SubEditors editors)
    : main_(main), context_(context), services_(std::move(services)), editors_(std::move(editors)) {}

void MacroOperations::Tell(int code, std::int64_t argument) { context_.link->Tell(code, argument); }

int MacroOperations::Box(const std::string& text, const std::string& caption, unsigned flags) {
  return main_.Box(text, caption, flags);
}

int MacroOperations::ChosenMacro() {
  if (main_.ListEmpty()) {
    Box(kNoMacrosYetText, kErrorCaption, platform::mb::kOk);
    return 0;
  }
  const int n = main_.SelectedMacro();
  if (n < 1) {
    Box(kNoHotKeySelectedText, kErrorCaption, platform::mb::kOk);
    return 0;
  }
  return n;
}

// ---------------------------------------------------------------------------------------------
// Add

void MacroOperations::DoAdd() {
  TGlobData& glob = *context_.glob;
  SyncLock& lock = *context_.lock;
  if (glob.MacroCount() >= kMaxMacros) {
    Box(kMacroLimitText, kErrorCaption, platform::mb::kOk);
    return;
  }
  if (lock.FileInUse()) return;
  // A new macro starts from an empty record: nothing of the macro edited last comes along.
  main_.CurMacro = TMacroRec{};
  const std::int32_t count = glob.MacroCount();
  TAddNewHotKey dialog(main_, context_, *services_, editors_);
  dialog.NewNumber = count + 1;
  dialog.Added = 0;
  context_.forms->ShowModal(dialog);
  if (dialog.Added == 0) {
    // The direct editor appends its macro itself: then the library changed all the same.
    if (!dialog.LockHandedOver) lock.ReleaseSyncFile(dialog.StoredItself ? 1 : 0);
    if (dialog.StoredItself) CheckTimeItem(main_.MyGrid.row());
    return;
  }
  TMacroRec& r = main_.CurMacro;
  r.SetCategory(std::max(main_.CategoryFilter(), 0));
  const int added = AppendCurMacro(count, !dialog.LockHandedOver);
  if (added == 0) return;
  context_.link->SetHotKeys();
  // A recording holds the lock until it ends.
  if (!dialog.LockHandedOver) lock.ReleaseSyncFile(1);
  if (r.ActivationCode() == wdx::activation::kTimed) Tell(control::kSchedulesChanged);
  if (r.ActivationCode() == wdx::activation::kMouseClick) Tell(control::kReloadMouse);
  if (dialog.MenuMade != 0) Tell(control::kMenuIcons);
  if (dialog.FloatMade != 0) Tell(control::kOpenFloater, added);
}

int MacroOperations::AppendCurMacro(std::int32_t count, bool lockHeld) {
  TGlobData& glob = *context_.glob;
  // The new macro is appended as number count + 1 whether or not the dialog raised the count
  // already: an append at the old count would overwrite the last macro.
  if (glob.MacroCount() != count + 1) {
    glob.SetMacroCount(count + 1);
    context_.link->UpNumKeys();
  }
  if (!context_.store->Library().WriteMacroRecord(-1, main_.CurMacro, true)) {
    // Nothing was appended: the count goes back, so the tables match the file.
    glob.SetMacroCount(count);
    context_.link->UpNumKeys();
    if (lockHeld) context_.lock->ReleaseSyncFile(0);
    main_.FillList();
    return 0;
  }
  main_.FillList();
  main_.SelectMacro(count + 1);
  main_.SetButtons(true);
  CheckTimeItem(main_.MyGrid.row());
  return count + 1;
}

// ---------------------------------------------------------------------------------------------
// Modify

void MacroOperations::DoModify() {
  const int n = main_.SelectedMacro();
  if (!main_.ListEmpty() && n >= 1 && IsMenu(context_.glob->ScopeKind(n))) {
    ModifyMenu(n);
    return;
  }
  if (!ModifyDirectly(main_, context_, *services_)) return;
  // What the player rebuilds after a saved edit: the schedules, the mouse areas, and every
  // floating menu that lists the macro.
  const TMacroRec& r = main_.CurMacro;
  if (r.ActivationCode() == wdx::activation::kTimed) Tell(control::kSchedulesChanged);
  if (r.ActivationCode() == wdx::activation::kMouseClick) Tell(control::kReloadMouse);
  const TGlobData& glob = *context_.glob;
  TMacroRec menu;
  for (int m = 1; m <= std::min(glob.MacroCount(), kGlobMaxMacros); ++m) {
    if (glob.ScopeKind(m) != scope::kFloatingMenu || !context_.store->Library().ReadMacroRecord(m, menu)) continue;
    if (MenuLists(menu, n)) Tell(control::kReopenFloaters, m);
  }
  CheckTimeItem(main_.MyGrid.row());
}

void MacroOperations::ModifyMenu(int n) {
  SyncLock& lock = *context_.lock;
  if (lock.FileInUse()) return;
  TMacroRec& r = main_.CurMacro;
  if (!context_.store->Library().ReadMacroRecord(n, r)) {
    lock.ReleaseSyncFile(0);
    return;
  }
  if (!editors_.buildMenu) {
    Box(kNotAvailableText, kNoticeCaption, platform::mb::kOk | platform::mb::kIconInformation);
    lock.ReleaseSyncFile(0);
    return;
  }
  const bool floating = r.ScopeKind() == scope::kFloatingMenu;
  const BuildMenuResult outcome = editors_.buildMenu(main_, context_, BuildMenuRequest{floating, true, n});
  if (!outcome.saved || !context_.store->Library().WriteMacroRecord(n, r, true)) {
    lock.ReleaseSyncFile(0);
    return;
  }
  main_.FillList();
  main_.SelectMacro(n);
  CheckTimeItem(main_.MyGrid.row());
  lock.ReleaseSyncFile(1);
  if (outcome.trayChanged) Tell(control::kMenuIcons);
  if (floating) Tell(control::kReopenFloaters, n);
}

// ---------------------------------------------------------------------------------------------
// Remove

void MacroOperations::DoClear() {
  const int n = ChosenMacro();
  if (n == 0) return;
  SyncLock& lock = *context_.lock;
  if (lock.FileInUse()) return;
  MacroLibrary& library = context_.store->Library();
  TMacroRec& r = main_.CurMacro;
  if (!library.ReadMacroRecord(n, r)) {
    lock.ReleaseSyncFile(0);
    return;
  }
  const std::uint16_t code = r.ActivationCode();
  std::string question;
  if (code == wdx::activation::kTimed) {
    question = "Are you sure you want to remove \"Timed Macro\"?";
  } else if (code == wdx::activation::kFloatingMenu) {
    question = "Are you sure you want to remove the Floating Menu macro?";
  } else if (code == wdx::activation::kAbbrekey) {
    question = "Are you sure you want to remove the Abbrekey \"" + r.Abbrekey() + "\"?";
  } else if (IsHotKeyIndex(code)) {
    question = "Are you sure you want to remove \"" + std::string(HotKeyName(code)) + "\"?";
  } else {
    question = "Are you sure you want to remove this macro?";
  }
  if (Box(question, kDeleteCaption, platform::mb::kYesNo) != platform::mb::kIdYes) {
    lock.ReleaseSyncFile(0);
    return;
  }
  const int category = main_.CatList.itemIndex();
  const int filter = main_.CategoryFilter();
  const int row = main_.MyGrid.row();
  const bool wasMenu = IsMenu(r.ScopeKind());

  // Every menu as it must read once the macro is gone, numbered as after the removal.
  const TGlobData& glob = *context_.glob;
  std::vector<std::pair<int, TMacroRec>> menus;
  bool contained = false;
  for (int m = 1; m <= std::min(glob.MacroCount(), kGlobMaxMacros); ++m) {
    TMacroRec menu;
    if (m == n || !IsMenu(glob.ScopeKind(m)) || !library.ReadMacroRecord(m, menu)) continue;
    contained = contained || MenuLists(menu, n);
    if (RemoveFromMenu(menu, n)) menus.emplace_back(m > n ? m - 1 : m, menu);
  }
  if (contained) {
    const std::string name = code == wdx::activation::kFloatingMenu ? "this macro" : RemovedName(r);
    const std::string again =
        "This macro is contained in a \"Popup or Floating Menu\".  It will be removed from the \"Popup or Floating "
        "Menu\".  Are you sure you want to remove \"" + name + "\"?";
    if (Box(again, kDeleteCaption, platform::mb::kYesNo) != platform::mb::kIdYes) {
      lock.ReleaseSyncFile(0);
      return;
    }
  }
  // The record goes first: when it cannot, no menu was renumbered and nothing else changed.
  if (!library.DeleteMacroRecord(n)) {
    Box(kRemoveFailedText, kErrorCaption, platform::mb::kOk);
    lock.ReleaseSyncFile(0);
    return;
  }
  for (const auto& [number, menu] : menus) library.WriteMacroRecord(number, menu, false);
  library.ReloadMacroLibrary(false);
  main_.GetSwapFile();
  main_.GetCatFile();
  if (category >= 0 && category < main_.CatList.count()) {
    main_.CatList.SetItemIndex(category);
    main_.SetCategoryFilter(filter);
  }
  main_.FillList();
  context_.link->SetHotKeys();
  if (main_.ListEmpty()) {
    main_.SetButtons(false);
  } else {
    main_.MyGrid.SetRow(std::clamp(row, 1, main_.List().count()));
    CheckTimeItem(main_.MyGrid.row());
  }
  lock.ReleaseSyncFile(1);
  Tell(control::kReload, wasMenu ? 1 : 0);
}

// ---------------------------------------------------------------------------------------------
// Duplicate and change of activation

void MacroOperations::DoCopy() {
  const int n = ChosenMacro();
  if (n == 0) return;
  TGlobData& glob = *context_.glob;
  if (glob.MacroCount() >= kMaxMacros) {
    Box(kMacroLimitText, kErrorCaption, platform::mb::kOk);
    return;
  }
  SyncLock& lock = *context_.lock;
  if (lock.FileInUse()) return;
  TMacroRec& r = main_.CurMacro;
  if (!context_.store->Library().ReadMacroRecord(n, r)) {
    lock.ReleaseSyncFile(0);
    return;
  }
  const std::int32_t count = glob.MacroCount();
  TCopyOrMove dialog(main_, context_, services_->dialogs);
  dialog.HotKeyLabel.SetCaption(ActivationHeading("COPY", r));
  dialog.ChangeActivation = 0;
  dialog.MacroNumber = n;
  dialog.Accepted = 0;
  context_.forms->ShowModal(dialog);
  if (dialog.Accepted == 0) {
    lock.ReleaseSyncFile(0);
    return;
  }
  const int added = AppendCurMacro(count, true);
  if (added == 0) return;
  if (r.ActivationCode() == wdx::activation::kTimed) Tell(control::kSchedulesChanged);
  if (r.ActivationCode() == wdx::activation::kMouseClick) Tell(control::kReloadMouse);
  if (r.ScopeKind() == scope::kPopupMenu) Tell(control::kMenuIcons);
  if (r.ScopeKind() == scope::kFloatingMenu) Tell(control::kOpenFloater, added);
  context_.link->SetHotKeys();
  lock.ReleaseSyncFile(1);
}

void MacroOperations::DoMove(bool lockHeld) {
  const int n = ChosenMacro();
  if (n == 0) return;
  SyncLock& lock = *context_.lock;
  if (!lockHeld && lock.FileInUse()) return;
  TMacroRec& r = main_.CurMacro;
  if (!context_.store->Library().ReadMacroRecord(n, r)) {
    lock.ReleaseSyncFile(0);
    return;
  }
  if (r.ScopeKind() == scope::kSystem) {
    // The system hot keys have a dialog of their own, not in this build.
    Box(kNotAvailableText, kNoticeCaption, platform::mb::kOk | platform::mb::kIconInformation);
    lock.ReleaseSyncFile(0);
    return;
  }
  const std::uint16_t oldCode = r.ActivationCode();
  const std::int16_t oldScope = r.ScopeKind();
  TCopyOrMove dialog(main_, context_, services_->dialogs);
  dialog.HotKeyLabel.SetCaption(ActivationHeading("MOVE", r));
  dialog.ChangeActivation = 1;
  dialog.MacroNumber = n;
  dialog.Accepted = 0;
  context_.forms->ShowModal(dialog);
  if (dialog.Accepted == 0 || !context_.store->Library().WriteMacroRecord(n, r, true)) {
    lock.ReleaseSyncFile(0);
    return;
  }
  main_.FillList();
  main_.SelectMacro(n);
  const std::uint16_t code = r.ActivationCode();
  if (code == wdx::activation::kTimed || oldCode == wdx::activation::kTimed) Tell(control::kSchedulesChanged);
  if (code == wdx::activation::kMouseClick || oldCode == wdx::activation::kMouseClick) Tell(control::kReloadMouse);
  CheckTimeItem(main_.MyGrid.row());
  context_.link->SetHotKeys();
  lock.ReleaseSyncFile(1);
  if (oldScope == scope::kFloatingMenu && r.ScopeKind() == scope::kPopupMenu) {
    Tell(control::kMenuIcons);
    Tell(control::kCloseFloater, n);
  }
  if (oldScope == scope::kPopupMenu && r.ScopeKind() == scope::kFloatingMenu) {
    Tell(control::kMenuIcons);
    Tell(control::kOpenFloater, n);
  }
}

// ---------------------------------------------------------------------------------------------
// Recapture

void MacroOperations::DoCapture() {
  const int n = ChosenMacro();
  if (n == 0) return;
  SyncLock& lock = *context_.lock;
  if (lock.FileInUse()) return;
  TMacroRec& r = main_.CurMacro;
  if (!context_.store->Library().ReadMacroRecord(n, r)) {
    lock.ReleaseSyncFile(0);
    return;
  }
  const std::uint16_t code = r.ActivationCode();
  // Only what a key starts can be recorded again: a hot key or an Abbrekey, never a menu.
  if ((!IsHotKeyIndex(code) && code != wdx::activation::kAbbrekey) || IsMenu(r.ScopeKind()) ||
      r.ScopeKind() == scope::kSystem || !editors_.capture) {
    Box(kNotAvailableText, kNoticeCaption, platform::mb::kOk | platform::mb::kIconInformation);
    lock.ReleaseSyncFile(0);
    return;
  }
  CaptureRequest request;
  request.macro = n;
  request.recapture = true;
  const TGlobData& glob = *context_.glob;
  if (r.ScopeKind() != scope::kGlobal) {
    for (int m = 1; m <= std::min(glob.MacroCount(), kGlobMaxMacros); ++m) {
      if (m != n && glob.ScopeKind(m) == scope::kGlobal && glob.ActivationCode(m) == code) request.forceProgramScope = true;
    }
  }
  // The lock is the dialog's now; a recording that started holds it and may write the record.
  if (!editors_.capture(main_, context_, request).started) return;
  context_.store->Library().WriteMacroRecord(n, r, true);
  main_.FillList();
  main_.SelectMacro(n);
  CheckTimeItem(main_.MyGrid.row());
}

// ---------------------------------------------------------------------------------------------
// Activate

void MacroOperations::DoActivate() {
  const int n = ChosenMacro();
  if (n == 0) return;
  SyncLock& lock = *context_.lock;
  if (lock.FileInUse()) return;
  TGlobData& glob = *context_.glob;
  const bool active = !glob.MacroActive(n);
  // The file first: when it cannot be changed, nothing in memory or in the player changes.
  if (!context_.store->Library().SetMacroEnabled(n, active ? 1 : 0)) {
    Box(kActivateFailedText, kErrorCaption, platform::mb::kOk);
    lock.ReleaseSyncFile(0);
    return;
  }
  glob.SetMacroActive(n, active);
  const std::string caption = active ? "Deacti&vate Macro" : "Acti&vate Macro";
  main_.MacroMenu.Find("MenuActivate")->caption = caption;
  main_.ButtonActivate.SetCaption(caption);
  context_.hook->WdxUpItem(glob, n);
  Tell(control::kMacroEntries, n);
  const std::uint16_t code = glob.ActivationCode(n);
  if (code == wdx::activation::kTimed) Tell(control::kSchedulesChanged);
  if (code == wdx::activation::kFloatingMenu) Tell(control::kReopenFloaters);
  const std::string& options = context_.settings->abbrekeys[static_cast<std::size_t>(n)];
  if (glob.ScopeKind(n) == scope::kPopupMenu && !options.empty() && options[0] == 'Y') Tell(control::kMenuIcons);
  context_.link->SetHotKeys();
  main_.MyGrid.Repaint();
  lock.ReleaseSyncFile(1);
}

// ---------------------------------------------------------------------------------------------
// The commands' state for the chosen row

void MacroOperations::CheckTimeItem(int row) {
  if (row < 0 || main_.ListEmpty()) return;
  const int macro = main_.List().MacroAt(row);
  if (macro < 1) return;
  const TGlobData& glob = *context_.glob;
  const std::int16_t kind = glob.ScopeKind(macro);
  const std::uint16_t code = glob.ActivationCode(macro);
  forms::MenuItem& menu = main_.MacroMenu;
  const bool isMenu = IsMenu(kind);
  main_.EditSpeed.SetHint(isMenu ? "Modify Macro Popup Menu" : "Modify Macro Directly");
  main_.EnterKeyButton.SetCaption(isMenu ? "Modif&y Popup Menu" : "Modif&y Directly");
  menu.Find("MenuEnterKey")->caption = isMenu ? "Modif&y Popup Menu" : "Modif&y Directly";

  struct Command {
    forms::Control* button;
    const char* item;
    forms::Control* speed;
  };
  const Command recapture{&main_.CaptureKeyButton, "MenuCaptureKey", &main_.RecaptureSpeed};
  const Command scripting{&main_.DoScript, "MenuScripting", &main_.ScriptSpeed};
  const Command others[] = {{&main_.CopyHotKey, "MenuCopyHot", &main_.CopySpeed},
                            {&main_.EnterKeyButton, "MenuEnterKey", &main_.EditSpeed},
                            {&main_.ClearHotKey, "MenuClearHot", &main_.DeleteSpeed},
                            {&main_.ButtonActivate, "MenuActivate", &main_.ActivateSpeed}};
  auto enable = [&menu](const Command& c, bool on) {
    c.button->SetEnabled(on);
    c.speed->SetEnabled(on);
    menu.Find(c.item)->enabled = on;
  };
  if (kind == scope::kSystem) {
    enable(recapture, false);
    enable(scripting, false);
    for (const Command& c : others) enable(c, false);
    return;
  }
  for (const Command& c : others) enable(c, true);
  enable(scripting, !isMenu);
  enable(recapture, !isMenu && (IsHotKeyIndex(code) || code == wdx::activation::kAbbrekey));
}

// ---------------------------------------------------------------------------------------------
// The feature

std::shared_ptr<MacroOperations> InstallMacroOperations(TMainWin& main, EditorContext& context, SubEditors editors) {
  auto services = std::make_shared<DirectEditorServices>();
  services->dialogs = DialogServices::Of(context.platform, context.programFolder);
  InstallDirectEditor(main, context, services);
  auto ops = std::make_shared<MacroOperations>(main, context, services, std::move(editors));
  main.Bind("AddMacro", [ops] { ops->DoAdd(); });
  main.Bind("ModifyDirectly", [ops] { ops->DoModify(); });
  // The script editor is not in this build: its command opens the direct text editor.
  main.Bind("ScriptingEditor", [ops] { ops->DoModify(); });
  main.Bind("RemoveMacro", [ops] { ops->DoClear(); });
  main.Bind("DuplicateMacro", [ops] { ops->DoCopy(); });
  main.Bind("ChangeActivation", [ops] { ops->DoMove(); });
  main.Bind("RecaptureMacro", [ops] { ops->DoCapture(); });
  main.Bind("ActivateMacro", [ops] { ops->DoActivate(); });
  // A row chosen with the mouse sets the commands for its macro.
  auto clicked = main.MyGrid.onCellClick;
  main.MyGrid.onCellClick = [ops, clicked, &main](forms::MouseButton button, int col, int row) {
    if (clicked) clicked(button, col, row);
    ops->CheckTimeItem(main.MyGrid.row());
  };
  return ops;
}

SubEditors SubEditors::Builders() { return SubEditors{&CaptureMacro, &BuildMenu}; }

void InstallMacroCommands(TMainWin& main, EditorContext& context) {
  InstallMacroOperations(main, context, SubEditors::Builders());
}

}  // namespace wdx::editor
