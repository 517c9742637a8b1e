// The run frame of the player: what every top-level run of a macro goes through (StartRun:
// BeforeMacro, the interpreter, AfterMacro), the in-use flag with its 15-second ClearTimer, and
// the small services that the interpreter and the activation paths share: posting synthetic
// keys, the three kinds of wait, the error log, the expansion of text variables in command
// fields, and the re-installation of the hooks.
//
// RunFrame is what the interpreter sees of the player (it implements InterpreterHost) and owns
// the run state. The main window holds one and hands it its messages first
// (HandleRunFrameMessage).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "hook/hook_library.h"
#include "platform/platform.h"
#include "player/core/editor_link.h"
#include "player/core/window_activation.h"
#include "player/interpreter/interpreter_host.h"
#include "player/interpreter/macro_control.h"
#include "player/prompts/form_prompts.h"
#include "player/prompts/pending_messages.h"
#include "shared/glob_data.h"
#include "shared/macro_record.h"
#include "shared/settings.h"

namespace wdx::player {

class Interpreter;

// Timers of the main window that the run frame owns (ids on the main window).
inline constexpr std::uint32_t kClearTimerId = 5;      // 15 s: clears the in-use flag
inline constexpr std::uint32_t kHookTimerId = 8;       // 5 s once: re-install the hooks
inline constexpr std::uint32_t kClearTimerMs = 15000;
inline constexpr std::uint32_t kHookTimerMs = 5000;
// Messages the main window posts itself (application range, outside the protocol's numbers):
// tell the editor that a run began; show the running icon.
inline constexpr std::uint32_t kInUseNoticeMessage = 0x8000 + 0x101;
inline constexpr std::uint32_t kRunningIconMessage = 0x8000 + 0x102;

inline constexpr char kRunningTip[] = "Macro Is Running - Right Click to Abort";
inline constexpr char kIdleTip[] = "Wendrix 2000";
inline constexpr char kWaitTimerSemaphore[] = "WendplayWaitTimer";

// The main tray icon, as far as a run changes it.
class MainTrayIcon {
 public:
  virtual ~MainTrayIcon() = default;
  virtual void SetRunningImage(bool running) = 0;
  virtual void SetTip(const std::string& tip) = 0;
  virtual void SetActive(bool active) = 0;
};

// Text-variable expansion of command fields: every "%T" + one or two digits + "%" (1..99) is
// replaced by the variable's text, left to right; the first reference that is not valid and
// everything after it stay as written, and inserted texts are not searched again. The short
// form keeps the result (and each remainder) to `maxLength` characters, the pieces built to 255.
// The long form is for texts that go into a variable: a result longer than a text variable
// holds (VariableSet::kMaxTextLength) is not built; it gives false and leaves the text as it was.
void ProcessStringVar(std::string& text, std::size_t maxLength, const VariableSet& vars);
bool ProcessAnsiStringVar(std::string& text, const VariableSet& vars);

// One top-level run of a macro text, whatever started it.
struct RunRequest {
  std::string text;
  std::string name;  // shown in messages and logged at the end
  // The activation code of the macro run: a hot key index names its key in the pause window.
  std::int32_t activation = activation::kNone;
  // Caps Lock goes back on at the end when the run turned it off (not for a test run).
  bool restoreCaps = true;
  // The runs of hot keys, menus and run requests set the in-use flag for the hook library,
  // and post the end marker key and start the clear timer after the run.
  bool markInUse = false;
  // Done once the run has begun (in-use flag set, other runs refused) and before the text plays:
  // the Abbrekey road erases the typed Abbrekey here.
  std::function<void()> beforeText;
};

class RunFrame : public InterpreterHost {
 public:
  // `editor` hears of the in-use flag; `activation` forces prompts to the foreground.
  RunFrame(platform::Platform& platform, hook::HookLibrary& hook, TGlobData& block, TSettingsRec& settings,
           EditorPeer& editor, WindowActivation& activation);
  ~RunFrame() override;
  RunFrame(const RunFrame&) = delete;
  RunFrame& operator=(const RunFrame&) = delete;

  // The main window (timers, message boxes) once it exists; the tray icon when there is one.
  void SetMainWindow(platform::WindowHandle w) { mainWindow_ = w; }
  platform::WindowHandle MainWindow() const { return mainWindow_; }
  void SetTray(MainTrayIcon* tray) { tray_ = tray; }
  // The runner that shows the prompt windows of a running macro (the pause window, messages);
  // without one those commands fail with their message.
  void SetFormRunner(forms::FormRunner* forms) { forms_ = forms; }
  // What closes the player when a run ends after the terminate command.
  void SetClosePlayer(std::function<void()> close) { closePlayer_ = std::move(close); }
  // The library the macro control commands change.
  void SetLibrary(LibraryControl* library) { library_ = library; }
  LibraryControl* Library() override { return library_; }
  // The program's folder, where the commands find their data files.
  void SetProgramFolder(std::string folder) { programFolder_ = std::move(folder); }
  std::string ProgramFolder() override { return programFolder_; }
  const TSettingsRec* Settings() override { return &settings_; }

  // --- A top-level run: false, and nothing done, while another one plays (only one at a time;
  // nested plays happen inside the interpreter).
  bool StartRun(const RunRequest& request);

  // --- Key posting
  void PostVKey(std::uint8_t vk, bool up) override;
  void PostAltVKey(std::uint8_t vk, bool up) override;

  // --- Waits
  void PauseFor(double seconds) override;
  void PauseForNoSpeed(double seconds) override;
  void TimedPauseFor(bool exact, double seconds) override;
  void WaitForTimer(std::uint32_t milliseconds);

  // --- Error log and messages
  void LogError(const std::string& text) override;
  void DoAMessage(const std::string& caption, const std::string& text) override;
  void MyMessage(const std::string& caption, const std::string& text) override;

  // --- Variable expansion on the live variables
  void ProcessStringVar(std::string& text, std::size_t maxLength) override;
  bool ProcessAnsiStringVar(std::string& text) override;
  std::string ForegroundProgram() override { return block_.ForegroundProgram(); }
  // The library's macros as the settings' nickname table and the hook-globals block know them.
  std::optional<bool> MacroActiveByNickname(const std::string& nickname) override;

  // The keyboard and mouse hooks installed again, unless a macro is playing.
  void TestHooks();
  // The keyboard and mouse hooks taken out and installed afresh ("<DOHOOK>" too).
  void ReinstallHooks() override;
  // What lists the running programs again for the hook library (the program watch).
  void SetProgramLister(std::function<void()> list) { listPrograms_ = std::move(list); }

  // --- The wait commands' side of the hook library: the wait flags of the block, pushed.
  void WaitForMessage(std::uint32_t ms) override;
  bool AskForReport(WaitReport report, bool on) override;
  bool ReportAsked(WaitReport report) override;
  std::optional<std::vector<std::string>> RunningPrograms(bool listAgain) override;
  platform::WindowHandle OwnerWindow() override { return mainWindow_; }

  // Handles the messages that belong to the run state (UM_ABORTMACRO, the lock-key reports,
  // UM_CLEARINUSE) and the frame's timers; false for anything else.
  bool HandleRunFrameMessage(const platform::Message& m);

  // --- InterpreterHost
  RunState& State() override { return state_; }
  std::int16_t VkKeyScan(char c) override;
  void PumpMessages() override;
  std::uint32_t TickCount() override;
  platform::Platform* GetPlatform() override { return &platform_; }
  forms::FormRunner* Forms() override { return forms_; }
  MacroPrompts* Prompts() override { return &prompts_; }
  // The prompt windows of a run, shown with the form runner: the open one can be answered from
  // outside (a hot key resumes a pause, a close request closes it).
  FormPrompts& PromptWindows() { return prompts_; }
  // Forces a prompt or the editor to the foreground (TMainWin.SetMainWin).
  void SetMainWin(platform::WindowHandle w) override { activation_.SetMainWin(w); }

 private:
  void BeforeMacro();
  void AfterMacro();
  void ShowRunningIcon();
  // Posts `message` to the main window for the run's first turn of its queue; false when
  // there is no window to post to.
  bool PostToSelf(std::uint32_t message);
  // The in-use pattern around a run: the flag set and pushed and the editor told before it; the
  // end marker key (VK_EXECUTE down and up) and the clear timer (re)started after it.
  void BeginInUse();
  void EndInUse();
  // ClearTimer's work and UM_CLEARINUSE: the in-use flag cleared, pushed, the editor told.
  void ClearInUse();
  void ClearTimerTimer();
  void HookTimerTimer();
  void Wait(double seconds);
  // The text with the macro's name when a failure asked for it (the flag is cleared).
  std::string WithMacroName(const std::string& text);
  void SystemBox(const std::string& caption, const std::string& text);

  platform::Platform& platform_;
  hook::HookLibrary& hook_;
  TGlobData& block_;
  TSettingsRec& settings_;
  EditorPeer& editor_;
  WindowActivation& activation_;
  RunState state_;
  std::unique_ptr<Interpreter> interpreter_;
  platform::WindowHandle mainWindow_ = platform::kNoWindow;
  MainTrayIcon* tray_ = nullptr;
  forms::FormRunner* forms_ = nullptr;
  FormPrompts prompts_{*this};
  std::function<void()> closePlayer_;
  std::function<void()> listPrograms_;
  LibraryControl* library_ = nullptr;
  std::string programFolder_;
  std::unique_ptr<platform::NamedSemaphore> waitTimer_;
  // One box and one long-text window at a time; what comes meanwhile shows after it.
  PendingMessages boxes_;
  PendingMessages longTexts_;
};

}  // namespace wdx::player
