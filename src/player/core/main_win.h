// The player's hidden main window, TMainWin: the target of every message of the protocol, the
// owner of the timers, the run frame (which it derives from) and the state of the hot-key road.
// It is never shown; it exists for its window handle.
//
// Its work is split by subject over several files: start-up and shut-down (startup.cpp), the
// window-message protocol (protocol_handlers.cpp), the hot-key road (hot_key_road.cpp). The
// activation paths, tray, menus and recording that come later fill in the protected hooks
// below, which do nothing yet.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "hook/hook_library.h"
#include "platform/platform.h"
#include "player/core/command_line.h"
#include "player/core/editor_link.h"
#include "player/core/protocol.h"
#include "player/core/run_frame.h"
#include "player/core/window_activation.h"
#include "player/interpreter/pause_it.h"
#include "shared/glob_data.h"
#include "shared/macro_library.h"
#include "shared/settings.h"
#include "shared/shared_blocks.h"
#include "shared/sync_stamp.h"

namespace wdx::player {

inline constexpr char kMainWindowClass[] = "TMainWin";
inline constexpr char kMainWindowTitle[] = "Wendrix Player";

// Timers of the main window besides the run frame's.
inline constexpr std::uint32_t kMyTimerId = 1;    // schedule check, "Timer Seconds"
inline constexpr std::uint32_t kTimer2Id = 2;     // 5 s after start, once: start-up macros
inline constexpr std::uint32_t kSyncTimerId = 3;  // 60 s: network auto sync
inline constexpr std::uint32_t kTimer2Ms = 5000;
inline constexpr std::uint32_t kSyncTimerMs = 60000;

inline constexpr char kNoticeCaption[] = "Notice";
inline constexpr char kBrowseModeEditorText[] = "Wendrix Editor not available in Browse Mode.";

// The operating-system flags of the run, from the system's version.
struct OsFlags {
  bool shell = true;  // the 95 family, or NT 4 and later
  bool nt = true;     // NT 4 and later
  bool win98 = false; // the 95 family with a minor version other than 0
  bool operator==(const OsFlags&) const = default;
};
OsFlags OsFlagsOf(const platform::OsVersion& v);

// Which run path reached the run step: a hot key (or a tray menu icon), or another one (run
// requests, start-up and floating menus), which treat popup menus and system macros apart.
enum class RunPath { kHotKey, kOther };

class TMainWin : public RunFrame, private LibraryListener {
 public:
  TMainWin(platform::Platform& platform, hook::HookLibrary& hook, TGlobData& block, TSettingsRec& settings,
           Configs& configs, std::string programFolder);
  ~TMainWin() override;

  // --- Start-up and shut-down (startup.cpp)
  // Creates the hidden window and runs FormCreate. False when the program must end at once
  // (the window or a named block could not be made; a message box said so).
  bool Create();
  // Destroys the window after the message loop ended.
  void DestroyWindow();
  bool FormCreate();
  void FormClose();
  // A close request (WM_CLOSE, UM_CONTROL 30, system macro "5", the terminate command): the
  // player closes once the message being handled is done. A macro that is playing is aborted
  // first and unwinds (without an error box) before anything is freed.
  void RequestClose();
  void ActivateMe(bool minimized);
  void CreateFileAssociation();

  // --- Messages (protocol_handlers.cpp)
  std::int64_t HandleMessage(const platform::Message& m);
  void OnControl(std::uint32_t code, std::int64_t argument);
  // A run request that arrives while a macro plays waits until the run is over (it would
  // otherwise be lost, or switch the library under the running macro).
  void OnRunRequest(std::int64_t kind);
  void OnTextChannel(std::uint32_t message, std::uint64_t wparam);
  void OnCommandLineChar(std::int64_t byte);
  void OnTestRun();
  void GetGlobDataItem(int group, int macro = 0);

  // --- Hot keys (hot_key_road.cpp)
  void OnHotKey(std::uint32_t w, platform::WindowHandle window);
  void SetHotKeys();
  int GetMacro(int index);
  void RunCurrentMacro(RunPath path);
  // While on, the hook library reports hot keys to `w` as UM_HOTKEYINDEX instead of running
  // them (a dialog's hot-key field).
  void SetSecWind(platform::WindowHandle w, bool on);
  // The system macro (scope kind 5) whose activation code is `key`: its number, or 0.
  int SystemMacroFor(int key) const;
  // In network mode: true when the library changed on disk since it was last taken into account
  // (the new counter is then the known one).
  bool LibraryChangedOnDisk();
  // The current library loaded again and everything derived from it rebuilt: after another
  // user's change, a library switch, or the editor's replacement of the library.
  void ReloadEverything();

  // --- Library companions
  // Reads the sync stamp of the current library (network mode) and takes its counter as known.
  void ReadStamp();
  void GetSwapFile();
  bool SwapsInUse();
  std::filesystem::path NativePath(const std::string& stored) const;

  // The runner that shows the prompt windows of a running macro (the pause window, messages);
  // without one those commands fail with their message.
  void SetFormRunner(forms::FormRunner* forms) { forms_ = forms; }
  forms::FormRunner* Forms() override { return forms_; }
  // Forces a prompt or the editor to the foreground (TMainWin.SetMainWin).
  void SetMainWin(platform::WindowHandle w) override { activation_.SetMainWin(w); }

  MacroLibrary& Library() { return library_; }
  EditorLink& Editor() { return *editor_; }
  MainWindowBlocks& Blocks() { return blocks_; }
  const std::string& ProgramFolder() const { return programFolder_; }
  // The command line's options as the start-up read them.
  const CommandLineOptions& Options() const { return options_; }
  Configs& Settings() { return configs_; }

  // State of the main window besides the run state.
  ReceiveBuffers buffers;
  TSyncRec stamp;
  std::int32_t knownCounter = 0;
  std::int32_t syncTicks = 0;
  OsFlags os;
  bool remapHookInstalled = false;

 protected:
  // --- Work of the parts that come later (tray, menus, recording, schedules, mouse areas,
  // window and program activation, text boxes): nothing yet.
  virtual void DoTaskIcon() {}
  virtual void DoTaskIconRec() {}
  virtual void DoMenuTaskIcon() {}
  virtual void ClearMenuTaskIcon() {}
  virtual void SetMainIconActive(bool /*on*/) {}
  virtual void LoadUpFloaters() {}
  virtual void ClearMenuOnTop() {}
  virtual void AddMenuOnTop(int /*macro*/) {}
  virtual void DelMenuOnTop(int /*macro*/) {}
  virtual void LoadUpMouse() {}
  virtual void ClearMouse() {}
  virtual void CheckAndSetTime() {}
  virtual void MyTimerTimer() {}
  virtual void StartupMacros() {}
  virtual void StartACapture() {}
  virtual void MenuTopWindow() {}
  // Shows the popup menu of macro `macro` modally; the chosen macro number, or -1.
  virtual int ShowPopupMenu(int /*macro*/) { return -1; }
  // Answers the PAUSE window of the playing macro with Resume and closes it.
  virtual void ResumePause() { player::ResumePause(state_); }
  virtual bool HandleLaterMessage(const platform::Message& /*m*/) { return false; }

  // RunFrame
  void ClosePlayer() override { RequestClose(); }

 private:
  // LibraryListener
  void MacroEntriesChanged(int number) override;
  void MacroCountChanged() override;
  void TellPeer(int code, int argument) override;

  std::int64_t Dispatch(const platform::Message& m);
  bool HandleTimer(std::uint32_t id);
  void SyncTimerTimer();
  void DoClose();
  // GetMacro's choice; with `activate` false nothing changes (no window comes up, the target
  // stays), which is how a key is compared while a PAUSE waits.
  int ChooseMacro(int index, bool activate);
  void ResendKey(int key);
  // Waits (at most 2 s, handling no message) until no Shift, Ctrl, Alt or Win key is down.
  void WaitForModifiersUp();
  void ReinstallRemapHook();
  void RecordRewritten(int macro);
  void SwitchLibrary();
  void PlaySingleMacroFile();
  void ApplyCommandLine();
  void RunByNickname();
  std::string* RequestBuffer(std::int64_t kind);
  void HandleHeldRequests();
  int MacroLimit() const;

  Configs& configs_;
  std::string programFolder_;
  MacroLibrary library_;
  WindowActivation activation_;
  MainWindowBlocks blocks_;
  CommandLineOptions options_;
  forms::FormRunner* forms_ = nullptr;
  int depth_ = 0;
  bool closeRequested_ = false;
  // Run requests that arrived while a macro played, with their buffer's text: handled in order
  // once the run is over.
  struct HeldRequest {
    std::int64_t kind;
    std::string text;
  };
  std::vector<HeldRequest> heldRequests_;
};

}  // namespace wdx::player
