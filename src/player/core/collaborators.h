// The parts of the player that the main window routes its messages, timers and steps to, each
// behind a narrow interface: the tray icons, the macro menus, the recorder, the scheduler and
// the activation watchers (window titles, programs, mouse areas, Abbrekeys). A feature that
// comes later fills in one of them; tests replace any of them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"
#include "player/core/command_line.h"
#include "player/core/run_frame.h"

namespace wdx::player {

// The notification-area icons: the main icon (which a run shows as running), the recording
// icon and one icon for each popup-menu macro flagged for the tray.
class TrayIcons : public MainTrayIcon {
 public:
  // The main and the recording icon, both inactive, once the main window exists.
  virtual void Create() = 0;
  // The menu icons of the current library: built, or removed before the library changes.
  virtual void LoadMenuIcons() = 0;
  virtual void ClearMenuIcons() = 0;
  // The recording icon shows while a recording runs (with "Show Recording Icon").
  virtual void SetRecording(bool on) = 0;
};

// The popup and floating menus of macros.
class MacroMenus {
 public:
  virtual ~MacroMenus() = default;
  // Shows popup-menu macro `macro` modally, centred (-1) or, for a tray menu icon, on the
  // bottom edge of the screen at x = `position`; the chosen macro's number, or -1 for none.
  virtual int ShowPopup(int macro, int position) = 0;
  // The menu of the macros for the window in front (system macro "4").
  virtual void ShowTopWindowMenu() = 0;
  // The floating menus of the library: all opened, all closed (their places kept), or one.
  virtual void OpenFloaters() = 0;
  virtual void CloseFloaters() = 0;
  virtual void OpenFloater(int macro) = 0;
  virtual void CloseFloater(int macro) = 0;
};

// Recording keystrokes into a macro (macro_recorder.h).
class Recorder {
 public:
  virtual ~Recorder() = default;
  // Starts a recording, or ends the one in progress (system macro "2").
  virtual void StartOrStop() = 0;
  // UM_CAPTURECHAR: one captured character; UM_CAPTUREDONE: the recording of macro `macro`
  // ended.
  virtual void Captured(std::uint8_t c) = 0;
  virtual void Done(int macro) = 0;
};

// Timed macros, the start-up macros and the idle time.
class Scheduler {
 public:
  virtual ~Scheduler() = default;
  // The schedules changed (the library or the editor): the next times are worked out again.
  virtual void CheckAndSetTime() = 0;
  // The schedule timer ("Timer Seconds").
  virtual void Tick() = 0;
  // Five seconds after start: the start-up macros, with the command line's "/A" and "/WRM".
  virtual void RunStartupMacros(const CommandLineOptions& options) = 0;
  // UM_IDLEENDED: the user is back.
  virtual void IdleEnded() = 0;
  // The screen saver asks to start: true refuses it (timed macros must be able to type).
  virtual bool RefusesScreenSaver() = 0;
};

// Macros that run when a window whose title holds their scope text comes to the front.
class WindowWatcher {
 public:
  virtual ~WindowWatcher() = default;
  // UM_FOREGROUND: `w` is in front now.
  virtual void ForegroundChanged(platform::WindowHandle w) = 0;
};

// The programs that run and the one in front, which the hook library and the program-scoped
// macros read (running_programs.h).
class ProgramWatcher {
 public:
  virtual ~ProgramWatcher() = default;
  // UM_FOREGROUND: the program of window `w` is the foreground program now, and the programs
  // that run are listed again.
  virtual void ForegroundChanged(platform::WindowHandle w) = 0;
  // The program of window `w`, which is in front, is the foreground program (each hot key).
  virtual void TakeForegroundProgram(platform::WindowHandle w) = 0;
  // UM_PROGRAMSCHANGED: the programs that run are listed again.
  virtual void ProgramsChanged() = 0;
};

// Macros that run on a mouse click in a screen area or on a part of a window.
class MouseAreas {
 public:
  virtual ~MouseAreas() = default;
  // The areas of the current library: loaded, or freed before the library changes.
  virtual void Load() = 0;
  virtual void Clear() = 0;
  // UM_MOUSELEFT, UM_MOUSERIGHT, UM_MOUSEMIDDLE (button 1, 2, 3): the hit-test code and point.
  virtual void Clicked(int button, std::uint64_t hitTest, std::int64_t point) = 0;
};

// Macros that run when their Abbrekey is typed in any program.
class Abbrekeys {
 public:
  virtual ~Abbrekeys() = default;
  // UM_ABBREKEYCHAR: wParam kAbbrekeyReset or kAbbrekeyCapsOn, the typed character.
  virtual void Typed(std::uint64_t flags, std::uint8_t c) = 0;
  // UM_TYPEDCHAR: wParam 1 empties the Wait For Text buffer, else the typed character.
  virtual void TypedForWait(std::uint64_t flags, std::uint8_t c) = 0;
};

// What the hot-key router and the run coordinator ask of the main window itself.
class MainWindowActions {
 public:
  virtual ~MainWindowActions() = default;
  // Closes the player once the message being handled is done (a playing macro is aborted).
  virtual void RequestClose() = 0;
  // Brings up the editor, starting it when it does not run (refused in browse mode).
  virtual void OpenEditor(bool minimized) = 0;
  // Makes `path` the current library and rebuilds everything that derives from it.
  virtual void SwitchLibrary(const std::string& path) = 0;
  // In network mode, when another user changed the library on disk since it was last taken
  // into account: reloads it and everything that derives from it, and says so.
  virtual bool ReloadIfChangedOnDisk() = 0;
};

}  // namespace wdx::player
