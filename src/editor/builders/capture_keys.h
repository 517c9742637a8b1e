// "Capture Macro": sets up the recording of keystrokes and mouse actions into a macro. It writes
// no tag: "Start Capture" opens the work file, writes the recording's part of the hook-globals
// block (the macro, both stop keys, the options), hands it to the hook library, tells the player,
// brings the chosen window to the front and closes. The hook library then records and sends the
// characters and the end to the editor's main window (capture_end.cpp).
//
// The library lock: the opener takes it (FileInUse) before it shows the dialog and from then on
// never gives it back itself. A dialog closed without a start gives it back unchanged; a started
// recording keeps it until it ends, and its end gives it back, once, whatever becomes of it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/dialogs/command_dialog.h"
#include "editor/shell/editor_context.h"
#include "editor/shell/main_win.h"
#include "forms/controls.h"
#include "forms/dialog.h"
#include "forms/form.h"
#include "shared/glob_data.h"
#include "shared/settings.h"

namespace wdx::editor {

inline constexpr char kLastActiveWindow[] = "***Last Active Window***";
inline constexpr char kCaptureRunningText[] = "A capture is currently in progress.  Capture not allowed.";
inline constexpr char kNoStopKeyText[] =
    "No key can end this capture: the system macro \"Start/Stop Capture\" has no hot key and the macro has none "
    "either.  Capture not allowed.";

// The options the dialog offers, preset from the [Capture] settings.
struct CaptureChoices {
  bool keys = true;
  bool doubleAlt = true;
  bool mouse = true;
  std::uint8_t relative = 1;  // 1 screen, 2 window, 3 position
  bool windowSize = true;
  bool clicksOnly = true;
  bool time = true;
  std::int32_t speed = 1;  // 1 actual, 2 half, 3 double, 4 quadruple
  bool program = false;    // the recorded macro becomes program-scoped

  // From the settings; `forceProgram` (a global macro has the hot key) chooses "Program".
  static CaptureChoices From(const TSettingsRec& settings, bool forceProgram);
  // Mouse positions relative to the window with the window's size: only while the mouse is
  // recorded relative to the window.
  bool WindowSizeBytes() const { return mouse && relative == 2 && windowSize; }
};

// The macro the recording goes into, as the opener hands it over.
struct CaptureRequest {
  // CapturedMacro: its number (a new macro: the macro count + 1; it is appended by the opener).
  int macro = 0;
  // Recapture: the macro exists (its nickname is shown); false: a new macro.
  bool recapture = false;
  // ForceProgramScope: a global macro uses the same hot key, so "Global" cannot be chosen.
  bool forceProgramScope = false;
  // HotKeyLabel's caption; empty: from the activation of CurMacro (CaptureActivationLabel).
  std::string hotKeyLabel;
};

struct CaptureResult {
  // Start ran: the recording runs and holds the library lock.
  bool started = false;
  // MacroAdded: a new macro's count was raised and CurMacro made active; the opener appends it.
  bool macroAdded = false;
};

// What the dialog's HotKeyLabel shows for a macro: "Abbrekey: " + its Abbrekey, or its
// activation (the hot key's name, "Window Title", "Mouse Click", ...).
std::string CaptureActivationLabel(const TMacroRec& record);
// The number of the first system macro "Start/Stop Capture" (scope 5, marker "2"), or 0.
int StopKeyMacro(const TGlobData& glob);
// The titles ProgList offers: the last active window, then every visible window that is not
// minimized and whose title is not blank, as the system enumerates them.
std::vector<std::string> CaptureTargetTitles(platform::WindowSystem& windows);

class TCaptureKeys : public forms::Form {
 public:
  TCaptureKeys(TMainWin& main, EditorContext& context, const DialogServices& services, const CaptureRequest& request);

  // --- Set by the opener (CaptureRequest)
  std::uint8_t Recapture = 0;
  std::int32_t CapturedMacro = 0;
  std::uint8_t ForceProgramScope = 0;
  // --- State
  std::int32_t StopKeyMacro = 0;
  std::uint8_t MacroAdded = 0;
  std::uint8_t CaptureStarted = 0;

  forms::Label NickLabel{this, "NickLabel", "Nickname"};
  forms::Edit NickName{this, "NickName"};
  forms::Panel KeyPanel{this, "KeyPanel"};
  forms::Label HotKeyLabel{&KeyPanel, "HotKeyLabel"};
  forms::Label HotLabel2{&KeyPanel, "HotLabel2"};
  forms::Label HotLabel3{&KeyPanel, "HotLabel3"};

  forms::GroupBox OptionsGroup{this, "OptionsGroup", "Capture Options"};
  forms::CheckBox DoKey{&OptionsGroup, "DoKey", "Capture &Keystrokes"};
  forms::CheckBox DoDouble{&OptionsGroup, "DoDouble", "Capture &Double <ALT> for Menus"};
  forms::CheckBox DoTheMouse{&OptionsGroup, "DoTheMouse", "Capture &Mouse"};
  forms::Label RelativeLabel{&OptionsGroup, "RelativeLabel", "Relative to"};
  forms::Panel RelativePanel{&OptionsGroup, "RelativePanel"};
  forms::RadioButton ToScreen{&RelativePanel, "ToScreen", "Sc&reen"};
  forms::RadioButton ToWindow{&RelativePanel, "ToWindow", "&Window"};
  forms::RadioButton ToPosition{&RelativePanel, "ToPosition", "Positio&n"};
  forms::CheckBox DoSize{&OptionsGroup, "DoSize", "Capture Window Si&ze"};
  forms::CheckBox ClicksOnly{&OptionsGroup, "ClicksOnly", "Onl&y Capture Mouse Clicks"};
  forms::CheckBox DoTime{&OptionsGroup, "DoTime", "Captur&e At"};
  forms::Panel SpeedPanel{&OptionsGroup, "SpeedPanel"};
  forms::RadioButton ActualSpeed{&SpeedPanel, "ActualSpeed", "&Actual Speed"};
  forms::RadioButton HalfSpeed{&SpeedPanel, "HalfSpeed", "&Half Speed"};
  forms::RadioButton DoubleSpeed{&SpeedPanel, "DoubleSpeed", "Do&uble Speed"};
  forms::RadioButton QuadSpeed{&SpeedPanel, "QuadSpeed", "&Quadruple Speed"};

  forms::GroupBox ScopeGroup{this, "ScopeGroup", "Scope"};
  forms::RadioButton ProgramButton{&ScopeGroup, "ProgramButton", "&Program"};
  forms::RadioButton GlobalButton{&ScopeGroup, "GlobalButton", "&Global"};
  forms::Label ProgLabel{this, "ProgLabel", "Choose the program to start capturing in"};
  forms::ComboBox ProgList{this, "ProgList", forms::ComboStyle::kDropDownList};

  forms::Button StartButton{this, "StartButton", "&Start Capture"};
  forms::Button CancelButton{this, "CancelButton", "&Cancel"};
  forms::Button HelpButton{this, "HelpButton", "&Help"};

  // The options as the controls show them.
  CaptureChoices Choices() const;
  // After a start, with the dialog gone: the window chosen in ProgList comes to the front, or
  // the editor steps aside (minimized) for the last active one.
  void FrontWindow();

 private:
  void FormShow();
  void FormClose();
  void EnableDisable();
  void StartButtonClick();
  void HelpButtonClick();
  // The recording's part of the block, pushed to the hook library and told to the player.
  void SetUpHookLibrary(const CaptureChoices& choices);
  std::optional<std::string> Refusal() const;

  TMainWin& main_;
  EditorContext& context_;
  const DialogServices& services_;
  std::string hotKeyLabel_;
};

// Shows "Capture Macro" for main.CurMacro: the opener has read the macro into CurMacro (or, for a
// new one, set its activation there) and taken the library lock, which is the dialog's from now.
CaptureResult CaptureMacro(TMainWin& main, EditorContext& context, const CaptureRequest& request);

}  // namespace wdx::editor
