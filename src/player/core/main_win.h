// The player's hidden main window, TMainWin: the target of every message of the protocol and
// the owner of the timers. It is never shown; it exists for its window handle.
//
// The main window routes: it owns the run frame (the run state and what the interpreter sees),
// the run coordinator (what starts runs), the hot-key router, the editor link, and the
// collaborators that later features fill in (collaborators.h), and hands each message, timer
// and start-up step to the one it belongs to. What remains here is the start and the close
// (startup.cpp), UM_CONTROL and the library with what derives from it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "hook/hook_library.h"
#include "platform/platform.h"
#include "player/core/collaborators.h"
#include "player/core/command_line.h"
#include "player/core/editor_link.h"
#include "player/core/hot_key_router.h"
#include "player/core/library_sync.h"
#include "player/core/run_coordinator.h"
#include "player/core/run_frame.h"
#include "player/core/running_programs.h"
#include "player/core/window_activation.h"
#include "shared/glob_data.h"
#include "shared/macro_library.h"
#include "shared/settings.h"
#include "shared/shared_blocks.h"

namespace wdx::player {

inline constexpr char kMainWindowClass[] = "TMainWin";
inline constexpr char kMainWindowTitle[] = "Wendrix Player";

// Timers of the main window besides the run frame's.
inline constexpr std::uint32_t kScheduleTimerId = 1;  // "Timer Seconds": the scheduler
inline constexpr std::uint32_t kStartupTimerId = 2;   // 5 s after start, once: start-up macros
inline constexpr std::uint32_t kStartupTimerMs = 5000;

inline constexpr char kNoticeCaption[] = "Notice";
inline constexpr char kBrowseModeEditorText[] = "Wendrix Editor not available in Browse Mode.";

// The operating-system flags of the run, from the system's version.
struct OsFlags {
  bool shell = true;   // the 95 family, or NT 4 and later
  bool nt = true;      // NT 4 and later
  bool win98 = false;  // the 95 family with a minor version other than 0
  bool operator==(const OsFlags&) const = default;
};
OsFlags OsFlagsOf(const platform::OsVersion& v);

// The collaborators a main window uses instead of its own: any left null is the real one (the
// editor link, the running programs) or the stand-in that does nothing yet.
struct Collaborators {
  EditorPeer* editor = nullptr;
  TrayIcons* tray = nullptr;
  MacroMenus* menus = nullptr;
  Recorder* recorder = nullptr;
  Scheduler* scheduler = nullptr;
  WindowWatcher* windows = nullptr;
  ProgramWatcher* programs = nullptr;
  MouseAreas* mouse = nullptr;
  Abbrekeys* abbrekeys = nullptr;
};

class TMainWin final : private LibraryListener, private MainWindowActions {
 public:
  TMainWin(platform::Platform& platform, hook::HookLibrary& hook, TGlobData& block, TSettingsRec& settings,
           Configs& configs, std::string programFolder, Collaborators parts = {});
  ~TMainWin() override;
  TMainWin(const TMainWin&) = delete;
  TMainWin& operator=(const TMainWin&) = delete;

  // --- Start-up and shut-down (startup.cpp)
  // Creates the hidden window and runs FormCreate. False when the program must end at once
  // (the window or a named block could not be made; a message box said so).
  bool Create();
  // Destroys the window after the message loop ended.
  void DestroyWindow();
  // A close request (WM_CLOSE, UM_CONTROL 30, system macro "5", the terminate command): the
  // player closes once the message being handled is done. A macro that is playing is aborted
  // first and unwinds (without an error box) before anything is freed.
  void RequestClose() override;

  // Every message of the main window.
  std::int64_t HandleMessage(const platform::Message& m);

  // The runner that shows the prompt windows of a running macro.
  void SetFormRunner(forms::FormRunner* forms) { frame_.SetFormRunner(forms); }

  platform::WindowHandle MainWindow() const { return frame_.MainWindow(); }
  RunFrame& Frame() { return frame_; }
  RunState& State() { return frame_.State(); }
  RunCoordinator& Runs() { return runs_; }
  HotKeyRouter& HotKeys() { return hotKeys_; }
  LibrarySync& Sync() { return sync_; }
  MainWindowBlocks& Blocks() { return blocks_; }
  Configs& Settings() { return configs_; }
  bool Closing() const { return closing_; }
  bool RemapHookInstalled() const { return remapHookInstalled_; }

 private:
  // LibraryListener
  void MacroEntriesChanged(int number) override;
  void MacroCountChanged() override;
  void TellPeer(int code, int argument) override;
  // MainWindowActions
  void OpenEditor(bool minimized) override;
  void SwitchLibrary(const std::string& path) override;
  bool ReloadIfChangedOnDisk() override;

  // --- startup.cpp
  bool FormCreate();
  void FormClose();
  void DoClose();
  void ApplyCommandLine();
  void CreateFileAssociation();

  // --- Messages (protocol_handlers.cpp)
  std::int64_t Dispatch(const platform::Message& m);
  void HandleTimer(std::uint32_t id);
  void HandleHeldRequests();
  void OnControl(std::uint32_t code, std::int64_t argument);
  void RecordRewritten(int macro);
  // The user closed floating menu `macro`: its macro is deactivated (by the editor when one
  // runs), after which the menus are opened again.
  void DeactivateFloatingMenu(int macro);

  // --- The library and what derives from it
  void LoadCurrentLibrary();
  // The current library loaded again and everything derived from it rebuilt: after another
  // user's change, a library switch, or the editor's replacement of the library.
  void ReloadEverything();
  void GetSwapFile();
  bool SwapsInUse();
  void ReinstallRemapHook();
  std::filesystem::path NativePath(const std::string& stored) const;

  platform::Platform& platform_;
  hook::HookLibrary& hook_;
  TGlobData& block_;
  TSettingsRec& settings_;
  Configs& configs_;
  std::string programFolder_;

  // The stand-ins of the collaborators that were not given, and the ones in use.
  struct Defaults;
  std::unique_ptr<Defaults> defaults_;
  WindowActivation activation_;
  std::unique_ptr<EditorLink> editorLink_;
  Collaborators parts_;

  MacroLibrary library_;
  MainWindowBlocks blocks_;
  LibrarySync sync_;
  RunFrame frame_;
  // The watcher of the running programs unless one was given.
  std::unique_ptr<ProgramWatcher> runningPrograms_;
  RunCoordinator runs_;
  HotKeyRouter hotKeys_;

  CommandLineOptions options_;
  OsFlags os_;
  bool remapHookInstalled_ = false;
  int depth_ = 0;
  bool closeRequested_ = false;
  bool closing_ = false;
};

}  // namespace wdx::player
