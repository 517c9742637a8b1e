// What the macro interpreter needs of the player's main window.
//
// The interpreter plays macro text; the main window owns the run state that every level of a
// run shares (abort flag, error switches, lock-key states, timing, variables) and the small
// services that reach the desktop (posting keys, pumping messages, waits, the error log, the
// message box). The player core implements this interface on its main window; tests implement
// it over the in-memory platform. Nothing else of the player is visible to the interpreter.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace wdx {
struct TSettingsRec;
}
namespace wdx::platform {
struct Platform;
}
namespace wdx::forms {
class FormRunner;
}

namespace wdx::player {

class LibraryControl;
class MacroPrompts;

// What a wait command asks the hook library to report while it waits: a mouse click, a key, the
// typed characters, or the keystroke-synchronisation marker key coming through.
enum class WaitReport : std::uint8_t { kClick, kKey, kText, kKeySync };

// One set of macro variables: slot 0 and T1..T99, slot 0 and N1..N50, slot 0 and D1..D50.
struct VariableSet {
  static constexpr int kTextSlots = 100;
  static constexpr int kNumberSlots = 51;
  // The longest text a variable holds: far beyond anything a macro types or writes, and small
  // enough that all variables, the saved set and the copies that nested references play fit
  // the 32-bit player's memory together. A command that would pass it fails the run.
  static constexpr std::size_t kMaxTextLength = std::size_t{1} << 20;
  std::array<std::string, kTextSlots> text;
  std::array<std::int32_t, kNumberSlots> integer{};
  std::array<double, kNumberSlots> decimal{};
};

// The run state of the main window. The frame that starts a top-level run resets it (abort
// off, error log off, error boxes on, delays off, speed 1.0, live variables cleared); all
// nested levels of that run read and change the same instance.
struct RunState {
  bool macroPlaying = false;     // a top-level run is in progress
  bool abortMacro = false;       // the run is aborted; every level stops at its next step
  bool logErrors = false;        // failures go to the error log
  bool showErrors = true;        // failures are shown in message boxes
  bool appendMacroName = false;  // the next message box gets the macro's name appended
  bool capsWasOn = false;        // Caps Lock state to give back when the top-level run ends
  bool capsLockOn = false;       // lock states as the hook library last reported them
  bool numLockOn = false;
  bool scrollLockOn = false;
  bool keyDelayOn = false;  // wait keyDelay ms (times speedFactor) before every typed key
  std::int32_t keyDelay = 0;
  bool mouseDelayOn = false;
  std::int32_t mouseDelay = 0;
  double speedFactor = 1.0;
  std::string currentMacroName;         // nickname shown in messages and logged
  std::int32_t currentMacroNumber = 0;  // library number, 0 or less when none
  bool pauseShowing = false;
  bool popupShowing = false;
  // Where a popup menu that a hot key opens stands: -1 centred, else the screen x of the tray
  // menu icon that was clicked.
  std::int32_t menuPosition = -1;
  platform::WindowHandle targetWindow = platform::kNoWindow;
  bool terminateAfterRun = false;
  bool windows98Flag = false;
  // Activation code of the running macro (a hot key index 0..720 names its key in the pause
  // window's caption; 30000: none).
  std::int32_t currentActivation = 30000;
  // What the hook library reported while a wait command waits: a click of each button (index 0
  // left, 1 right, 2 middle) and the last key.
  std::array<bool, 3> clickSeen{};
  std::uint32_t keySeenCode = 0;
  // What a command family keeps during a run lives in the family (command_family.h), not here.

  // The characters typed since the Wait For Text command began (UM_TYPEDCHAR), at most
  // waitTextLimit of them, the newest last.
  std::string waitTextBuffer;
  std::int32_t waitTextLimit = 0;

  VariableSet vars;   // the live variables of the run
  VariableSet saved;  // the saved set, kept from run to run
};

class InterpreterHost {
 public:
  virtual ~InterpreterHost() = default;

  virtual RunState& State() = 0;

  // One synthetic key event: the key's scan code and extended-key flag are the host's
  // business. Every key the interpreter types goes through these two.
  virtual void PostVKey(std::uint8_t vk, bool up) = 0;
  // The same event, used for the Alt + numeric-keypad sequences.
  virtual void PostAltVKey(std::uint8_t vk, bool up) = 0;
  // Virtual key of a character in the low byte and its shift state in the high byte
  // (1 Shift, 2 Ctrl, 4 Alt); -1 when the keyboard layout cannot type it.
  virtual std::int16_t VkKeyScan(char c) = 0;

  // Delivers what is pending in the message queue (abort key, lock-key reports, timers,
  // prompts) and returns. Called after every character and every command.
  virtual void PumpMessages() = 0;
  // Milliseconds since start, for the millisecond waits that pump messages.
  virtual std::uint32_t TickCount() = 0;
  // Waits seconds × speed factor (nothing at speed 0), pumping messages.
  virtual void PauseFor(double seconds) = 0;
  // Waits the given seconds whatever the speed factor, pumping messages.
  virtual void PauseForNoSpeed(double seconds) = 0;

  // Appends one dated line to the error log; never reports its own failure.
  virtual void LogError(const std::string& text) = 0;
  // Modal stay-on-top message box. When appendMacroName is set it appends
  // " (Macro Name: " + currentMacroName + ")" to the text and clears the flag.
  virtual void DoAMessage(const std::string& caption, const std::string& text) = 0;

  // --- Services with a default. A host without a facility keeps the default; the commands
  // that need it then fail with a clear message instead of doing something else.

  // The platform the commands reach directly (clock, clipboard, files, environment, INI
  // files, windows, screen size); nullptr when the host has none.
  virtual platform::Platform* GetPlatform() { return nullptr; }
  // The prompt windows of a running macro (pause, messages, value prompts); nullptr when the
  // host has none: the commands that need one then fail with their message.
  virtual MacroPrompts* Prompts() { return nullptr; }
  // The runner that shows forms (the prompts library shows its windows with it); nullptr when
  // the host cannot show forms.
  virtual forms::FormRunner* Forms() { return nullptr; }
  // Blocks the thread without pumping messages: Trunc(seconds × speed factor × 1000) ms
  // (nothing at speed 0), or Trunc(seconds × 1000) ms when exact. The default sleeps on the
  // platform's clock; the main window waits on its semaphore instead.
  virtual void TimedPauseFor(bool exact, double seconds);
  // Replaces the "%T" references of a command's text field by the live text variables (at
  // most maxLength characters). The default leaves the text as it is.
  virtual void ProcessStringVar(std::string& text, std::size_t maxLength);
  // The same for a text that goes into a variable, without the short limit: false (the text
  // unchanged) when the result would pass what a text variable holds. The default leaves the
  // text as it is.
  virtual bool ProcessAnsiStringVar(std::string& /*text*/) { return true; }
  // The modal window for long texts (reports, text boxes), line breaks kept; the macro's name
  // is appended as DoAMessage appends it. The default shows it as DoAMessage does.
  virtual void MyMessage(const std::string& caption, const std::string& text) { DoAMessage(caption, text); }
  // The file name of the program in front, as the player last recorded it; empty when unknown.
  virtual std::string ForegroundProgram() { return {}; }
  // Forces a window (a prompt of the running macro) to the foreground. The default brings it
  // to the front through the platform.
  virtual void SetMainWin(platform::WindowHandle w);
  // Around a prompt window: true shows the player's hidden application window so the prompt
  // can take the foreground; false hides the application and main windows again.
  virtual void ShowApplication(bool /*show*/) {}
  // Whether the first macro of the library with exactly this nickname is active; nullopt when
  // no macro has it (or the host has no library).
  virtual std::optional<bool> MacroActiveByNickname(const std::string& /*nickname*/) { return std::nullopt; }
  // The library that the macro control commands read and change; nullptr when the host has
  // none.
  virtual LibraryControl* Library() { return nullptr; }
  // The player's settings (mail server, sender, log and list files); nullptr when the host has
  // none: the commands that need them then fail with their message.
  virtual const TSettingsRec* Settings() { return nullptr; }
  // The folder of the player's program (no "\" at the end); empty when unknown.
  virtual std::string ProgramFolder() { return {}; }

  // --- The wait commands and the hook library
  // Sleeps until a message arrives or ms pass, then delivers what is pending; the polled waits
  // call it between two looks at their condition. The default only pumps.
  virtual void WaitForMessage(std::uint32_t /*ms*/) { PumpMessages(); }
  // Sets (or clears) the flag that asks the hook library for a report and hands it the change;
  // false when the host has no hook library (the wait then fails with its message).
  virtual bool AskForReport(WaitReport /*report*/, bool /*on*/) { return false; }
  // Whether the flag is still set: the keystroke-synchronisation wait ends when the hook
  // library's report has cleared it.
  virtual bool ReportAsked(WaitReport /*report*/) { return false; }
  // The running programs as the player lists them for the hook library (upper case), listed
  // again first when listAgain; nullopt when the host keeps no such list.
  virtual std::optional<std::vector<std::string>> RunningPrograms(bool /*listAgain*/) { return std::nullopt; }
  // The keyboard and mouse hooks taken out and installed afresh; nothing without a hook library.
  virtual void ReinstallHooks() {}
  // The window that owns what the commands start through the shell (the player's main window);
  // no window by default.
  virtual platform::WindowHandle OwnerWindow() { return platform::kNoWindow; }
};

// Milliseconds that TimedPauseFor blocks: 0 for speed 0 (unless exact), for a wait below zero
// and for what is not a number; never the endless wait.
std::uint32_t TimedPauseMs(bool exact, double seconds, double speedFactor);

}  // namespace wdx::player
