#include "player/core/main_win.h"

#include "player/core/abbrekeys_activation.h"
#include "player/core/library_commands.h"
#include "player/core/macro_recorder.h"
#include "player/core/menu_windows.h"
#include "player/core/mouse_areas.h"
#include "player/core/player_tray.h"
#include "player/core/scheduler.h"
#include "player/core/window_titles.h"
#include "shared/remap_keys.h"

namespace wdx::player {

OsFlags OsFlagsOf(const platform::OsVersion& v) {
  OsFlags f;
  const bool family95 = v.family == platform::OsFamily::kWindows95;
  f.nt = v.family == platform::OsFamily::kNt && v.major >= 4;
  f.shell = family95 || f.nt;
  f.win98 = family95 && v.minor != 0;
  return f;
}

// The collaborators the main window makes itself.
// Made before the members they refer to (the library, the run frame): they keep references and
// use them only once messages arrive.
struct TMainWin::Defaults {
  explicit Defaults(TMainWin& w)
      : windows(w.platform_, w.library_, w.block_, w.frame_),
        mouse(w.platform_, w.hook_, w.library_, w.block_, w.frame_, w.activation_),
        scheduler(w.platform_, w.hook_, w.block_, w.settings_, w.library_, w.frame_, w.runs_, w.activation_),
        menus(w.platform_, w.library_, w.block_, w.settings_, w.configs_, w.frame_, windows, w.activation_,
              w.programFolder_),
        recorder(w.platform_, w.hook_, w.block_, w.settings_, w.library_, w.frame_, w.sync_, w.activation_, w.hotKeys_,
                 w.options_, w.programFolder_),
        tray(w.platform_, w.frame_, w.library_, w.block_, w.settings_, w.programFolder_,
             {[&w] { w.OpenEditor(false); }, [&w] { w.RequestClose(); }, [&w] { w.frame_.TestHooks(); },
              [&w](int macro) { w.parts_.recorder->Done(macro); },
              [&w](int macro) {
                w.hotKeys_.OnHotKey(static_cast<std::uint32_t>(macro) | kHotKeyMacroBit, w.MainWindow());
              }}) {}
  std::unique_ptr<AbbrekeyActivation> abbrekeys;
  std::unique_ptr<LibraryCommands> libraryCommands;
  WindowTitles windows;
  MouseClickAreas mouse;
  MacroScheduler scheduler;
  MenuWindows menus;
  MacroRecorder recorder;
  PlayerTray tray;
};

namespace {
template <typename T>
T* Either(T* given, T& fallback) {
  return given ? given : &fallback;
}
}  // namespace

TMainWin::TMainWin(platform::Platform& platform, hook::HookLibrary& hook, TGlobData& block, TSettingsRec& settings,
                   Configs& configs, std::string programFolder, Collaborators parts)
    : platform_(platform),
      hook_(hook),
      block_(block),
      settings_(settings),
      configs_(configs),
      programFolder_(std::move(programFolder)),
      defaults_(std::make_unique<Defaults>(*this)),
      activation_(platform, true),
      editorLink_(parts.editor ? nullptr
                               : std::make_unique<EditorLink>(*platform.windows, platform.shell, activation_,
                                                              programFolder_)),
      parts_{parts.editor ? parts.editor : editorLink_.get(),
             Either<TrayIcons>(parts.tray, defaults_->tray),
             Either<MacroMenus>(parts.menus, defaults_->menus),
             Either<Recorder>(parts.recorder, defaults_->recorder),
             Either<Scheduler>(parts.scheduler, defaults_->scheduler),
             Either<WindowWatcher>(parts.windows, defaults_->windows),
             parts.programs,
             Either<MouseAreas>(parts.mouse, defaults_->mouse),
             parts.abbrekeys},
      library_(settings, block, *platform.files, *platform.boxes, *platform.clock, *this, LibraryOptions::Player()),
      sync_(settings, platform,
            {[this] { ReloadEverything(); }, [this] { return MainWindow(); },
             [this](const std::string& caption, const std::string& text) { frame_.DoAMessage(caption, text); }}),
      frame_(platform, hook, block, settings, *parts_.editor, activation_),
      runningPrograms_(parts.programs ? nullptr
                                      : std::make_unique<RunningPrograms>(platform, hook, block, settings, frame_)),
      runs_(platform, frame_, library_, block, settings, *parts_.menus, *this,
            [this](const std::string& p) { return NativePath(p); }, programFolder_),
      hotKeys_(platform, hook, block, frame_, runs_, activation_, *parts_.editor, *this,
               parts.programs ? *parts.programs : *runningPrograms_, *parts_.recorder, *parts_.menus) {
  if (!parts_.programs) parts_.programs = runningPrograms_.get();
  if (!parts_.abbrekeys) {
    defaults_->abbrekeys = std::make_unique<AbbrekeyActivation>(platform_, block_, settings_, library_, frame_, activation_);
    parts_.abbrekeys = defaults_->abbrekeys.get();
  }
  defaults_->menus.SetActions({[this](int n) { runs_.RunMacro(n, RunPath::kOther); },
                               [this](int n) { DeactivateFloatingMenu(n); }});
  defaults_->recorder.Connect(*parts_.editor, *parts_.tray);
  frame_.SetTray(parts_.tray);
  defaults_->libraryCommands = std::make_unique<LibraryCommands>(
      platform_, hook_, library_, block_, settings_, sync_, *parts_.editor, static_cast<MainWindowActions&>(*this), [this] { return MainWindow(); },
      LibraryCommands::Rebuild{// The editor's reload after a change of the file: the schedules too, timed or not.
                               [this](bool wasMenu, bool) { OnControl(control::kReload, wasMenu ? 1 : 0); },
                               [this](bool timed) {
                                 if (timed) parts_.scheduler->CheckAndSetTime();
                                 hotKeys_.SetHotKeys();
                               }});
  frame_.SetLibrary(defaults_->libraryCommands.get());
  frame_.SetProgramFolder(programFolder_);
  frame_.SetClosePlayer([this] { RequestClose(); });
  // The wait for a program's end lists the running programs again, as the program watch does.
  frame_.SetProgramLister([this] {
    if (!closing_) parts_.programs->ProgramsChanged();
  });
}

TMainWin::~TMainWin() = default;

void TMainWin::MacroEntriesChanged(int number) { hook_.WdxUpItem(block_, number); }
void TMainWin::MacroCountChanged() { hook_.WdxUpNumKeys(block_); }
void TMainWin::TellPeer(int code, int argument) { parts_.editor->Tell(static_cast<std::uint32_t>(code), argument); }

std::filesystem::path TMainWin::NativePath(const std::string& stored) const {
  return std::filesystem::path(platform_.files->NativePath(stored));
}

void TMainWin::OpenEditor(bool minimized) {
  if (options_.browseMode) {
    frame_.DoAMessage(kNoticeCaption, kBrowseModeEditorText);
    return;
  }
  parts_.editor->BringUpOrStart(minimized);
}

bool TMainWin::ReloadIfChangedOnDisk() {
  if (!sync_.ChangedOnDisk()) return false;
  ReloadEverything();
  return true;
}

void TMainWin::SwitchLibrary(const std::string& path) {
  settings_.currentLibrary = path;
  configs_.WriteCurrentFile();
  if (settings_.networkMode) sync_.ReadStamp();
  // Everything that derives from the library follows it, its remap table included.
  ReloadEverything();
  parts_.editor->Tell(editor_notice::kLibrarySwitched, 0);
}

void TMainWin::GetSwapFile() {
  if (!blocks_.HasSwap()) return;
  SwapTable table = blocks_.Swap().Table();
  const SwapFileResult result =
      wdx::GetSwapFile(settings_.currentLibrary, [this](const std::string& p) { return NativePath(p); }, table);
  {
    // The editor reads and writes single entries under the mutex; a whole table goes in under it too.
    const SwapMutexLock lock(*platform_.kernel);
    blocks_.Swap().SetTable(table);
  }
  if (const std::string problem = result.Problem(); !problem.empty()) frame_.DoAMessage(kErrorCaption, problem);
}

bool TMainWin::SwapsInUse() { return blocks_.HasSwap() && wdx::SwapsInUse(blocks_.Swap().Table()); }

void TMainWin::ReinstallRemapHook() {
  if (!blocks_.HasSwap()) return;
  if (remapHookInstalled_) {
    hook_.WdxUnHook(blocks_.Swap().RemapHook());
    remapHookInstalled_ = false;
  }
  if (SwapsInUse()) {
    blocks_.Swap().SetRemapHook(hook_.WdxHookSwap());
    remapHookInstalled_ = true;
  }
}

void TMainWin::LoadCurrentLibrary() {
  // The load tells the editor of every macro: one search for it will do.
  EditorNotices notices(*parts_.editor);
  library_.LoadMacroLibrary(settings_.currentLibrary);
}

void TMainWin::DeactivateFloatingMenu(int n) {
  if (parts_.editor->Runs()) {
    parts_.editor->Tell(editor_notice::kFloaterClosed, n);
    return;
  }
  if (sync_.FileInUse()) {
    frame_.DoAMessage("Macro Deactivate Error", "Cannot deactivate floating menu because the macro file is in use.");
    return;
  }
  block_.SetMacroActive(n, false);
  hook_.WdxUpItem(block_, n);
  library_.SetMacroEnabled(n, 0);
  hotKeys_.SetHotKeys();
  sync_.ReleaseSyncFile(1);
  // Posted: the menu whose close box was clicked is still handling that click.
  platform_.windows->PostMessage(MainWindow(), UM_CONTROL, control::kReopenFloaters, n);
}

void TMainWin::ReloadEverything() {
  parts_.tray->ClearMenuIcons();
  parts_.menus->CloseFloaters();
  parts_.mouse->Clear();
  LoadCurrentLibrary();
  GetSwapFile();
  hotKeys_.SetHotKeys();
  parts_.scheduler->CheckAndSetTime();
  parts_.tray->LoadMenuIcons();
  parts_.menus->OpenFloaters();
  parts_.mouse->Load();
}

}  // namespace wdx::player
