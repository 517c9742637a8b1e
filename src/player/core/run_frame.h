// The run frame of the player's main window: what every top-level run of a macro goes through
// (StartRun: BeforeMacro, the interpreter, AfterMacro), the in-use flag with its 15-second
// ClearTimer, and the
// small services that the interpreter and the activation paths share: posting synthetic keys,
// the three kinds of wait, the error log, the expansion of text variables in command fields,
// and the re-installation of the hooks.
//
// RunFrame is the part of TMainWin that the interpreter sees (it implements InterpreterHost).
// The rest of the main window (start-up, hot keys, the message protocol, tray, activation)
// derives from it: `class TMainWin : public RunFrame`, overriding the few hooks below
// (CheckForMess, ClosePlayer, SetRunningProgs, TellEditor) and handing its messages to
// HandleRunFrameMessage first.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "hook/hook_library.h"
#include "platform/platform.h"
#include "player/core/editor_link.h"
#include "player/interpreter/interpreter_host.h"
#include "shared/glob_data.h"
#include "shared/macro_record.h"
#include "shared/settings.h"

namespace wdx::player {

class Interpreter;

// Timers of the main window that the run frame owns (ids on the main window).
inline constexpr std::uint32_t kClearTimerId = 5;      // 15 s: clears the in-use flag
inline constexpr std::uint32_t kClearWaitTimerId = 6;  // 30 s: bounds the keystroke-sync wait
inline constexpr std::uint32_t kProgTermTimerId = 7;   // 2 s: program-end wait
inline constexpr std::uint32_t kHookTimerId = 8;       // 5 s once: re-install the hooks
inline constexpr std::uint32_t kClearTimerMs = 15000;
inline constexpr std::uint32_t kClearWaitTimerMs = 30000;
inline constexpr std::uint32_t kProgTermTimerMs = 2000;
inline constexpr std::uint32_t kHookTimerMs = 5000;

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

// The error log's line stamp: the date and time as DateTimeToStr gives them with the US
// defaults (short date M/d/yyyy, long time h:mm:ss AM/PM), e.g. "3/30/1998 3:04:23 PM".
std::string ErrorLogStamp(double now);

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
};

class RunFrame : public InterpreterHost {
 public:
  RunFrame(platform::Platform& platform, hook::HookLibrary& hook, TGlobData& block, TSettingsRec& settings);
  ~RunFrame() override;
  RunFrame(const RunFrame&) = delete;
  RunFrame& operator=(const RunFrame&) = delete;

  // The main window (timers, message boxes) once it exists; the tray icon when there is one.
  void SetMainWindow(platform::WindowHandle w) { mainWindow_ = w; }
  platform::WindowHandle MainWindow() const { return mainWindow_; }
  void SetTray(MainTrayIcon* tray) { tray_ = tray; }

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

  // --- Variable expansion on the live variables
  void ProcessStringVar(std::string& text, std::size_t maxLength) override;

  // ClearTimer's work and UM_CLEARINUSE: the in-use flag cleared, pushed, the editor told.
  void ClearInUse();

  // --- Timers and hooks
  void ClearTimerTimer();
  void ClearWaitTimerTimer();
  void HookTimerTimer();
  void ProgTermTimerTimer();
  // Tray "&Restore Keyboard and Mouse Hooks" and the re-hook macro command.
  void MenuHooksClick();
  // The same unless a macro is playing.
  void TestHooks();

  // Handles the messages that belong to the run state (UM_ABORTMACRO, the lock-key reports,
  // UM_CLEARINUSE) and the frame's timers; false for anything else.
  bool HandleRunFrameMessage(const platform::Message& m);

  // --- InterpreterHost
  RunState& State() override { return state_; }
  std::int16_t VkKeyScan(char c) override;
  void PumpMessages() override;
  std::uint32_t TickCount() override;
  platform::Platform* GetPlatform() override { return &platform_; }

  // The main window's record buffer (the macro being run).
  TMacroRec currentRecord;
  // Set when the main window's closing began; timers that would start work then do nothing.
  bool closing = false;

 protected:
  // Hooks for the rest of the main window.
  virtual void CheckForMess() {}    // close the text boxes still open
  virtual void ClosePlayer() {}     // close the player (after a run with the terminate command)
  virtual void SetRunningProgs() {}  // rebuild the running-program list
  // Posts UM_CONTROL (code, argument) to the editor's window when there is one (a top-level
  // window whose upper-cased title contains "WENDRIX EDITOR", remembered once found).
  virtual void TellEditor(std::uint32_t code, std::int64_t argument);

  platform::Platform& platform_;
  // The editor as the player knows it (none without a window system).
  std::unique_ptr<EditorLink> editor_;
  hook::HookLibrary& hook_;
  TGlobData& block_;
  TSettingsRec& settings_;
  RunState state_;

 private:
  void BeforeMacro();
  void AfterMacro();
  // The in-use pattern around a run: the flag set and pushed and the editor told before it; the
  // end marker key (VK_EXECUTE down and up) and the clear timer (re)started after it.
  void BeginInUse();
  void EndInUse();
  void Wait(double seconds);
  void ReinstallHooks();

  std::unique_ptr<Interpreter> interpreter_;
  platform::WindowHandle mainWindow_ = platform::kNoWindow;
  MainTrayIcon* tray_ = nullptr;
  std::unique_ptr<platform::NamedSemaphore> waitTimer_;
  bool messageOpen_ = false;
};

}  // namespace wdx::player
