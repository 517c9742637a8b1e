// Recording a new macro: the system macro "Start / Stop Capture" reserves a placeholder macro
// at the end of the library, sets the hook library recording (options, stop key, the window
// that gets the characters) and opens the work file; the hook library sends the recorded text
// one character at a time (UM_CAPTURECHAR) and ends the recording at the stop key
// (UM_CAPTUREDONE). The text then becomes the placeholder's, the user names it and gives it its
// activation in "Capture Complete", and the record is rewritten.
//
// The record written at the end is always the one reserved at the start: when the library
// changed meanwhile (the editor removed or moved macros) it is looked for by its bytes, and when
// it is gone the recording is added as a new macro, never written over another one.
#pragma once

#include <cstdint>
#include <string>

#include "hook/hook_library.h"
#include "platform/platform.h"
#include "player/core/collaborators.h"
#include "player/core/command_line.h"
#include "player/core/editor_link.h"
#include "player/core/library_sync.h"
#include "player/core/run_frame.h"
#include "player/core/window_activation.h"
#include "shared/capture_file.h"
#include "shared/glob_data.h"
#include "shared/macro_library.h"
#include "shared/settings.h"

namespace wdx::player {

class HotKeyRouter;

inline constexpr char kCaptureBrowseModeText[] = "Capture not allowed in Browse Mode.";
inline constexpr char kCaptureInProgressText[] = "A capture is currently in progress.  Capture not allowed.";
inline constexpr char kCaptureLibraryFullText[] = "Maximum number of macros has been reached.  Capture not allowed.";
inline constexpr char kStartCaptureCaption[] = "Start Capture";
inline constexpr char kCaptureCaption[] = "Capture";
inline constexpr char kPlaceholderNickname[] = "Capture";
inline constexpr char kPlaceholderAbbrekey[] = "capture";

class MacroRecorder final : public Recorder {
 public:
  MacroRecorder(platform::Platform& platform, hook::HookLibrary& hook, TGlobData& block, TSettingsRec& settings,
                MacroLibrary& library, RunFrame& frame, LibrarySync& sync, WindowActivation& activation,
                HotKeyRouter& hotKeys, const CommandLineOptions& options, const std::string& programFolder);

  // The parts the main window decides on after its stand-ins are made.
  void Connect(EditorPeer& editor, TrayIcons& tray) {
    editor_ = &editor;
    tray_ = &tray;
  }

  // The system macro "2": StartACapture (a recording in progress refuses it).
  void StartOrStop() override { StartACapture(); }
  void Captured(std::uint8_t c) override;
  void Done(int macro) override;

  void StartACapture();
  bool Capturing() const { return capturing_; }
  // The macro being recorded (0 when none).
  int CaptureMacro() const { return capturing_ ? macro_ : 0; }
  const CaptureWorkFile& WorkFile() const { return work_; }

 private:
  // Step by step, each false when the recording does not start (the user was told).
  bool Refused();
  bool KeepLeftoverRecording();
  bool TakeLibraryLock();
  bool ReservePlaceholder();
  void SetUpHookLibrary();
  // The hot key of the first system macro "2" (-1 when there is none).
  int StopHotKey() const;
  // Where the placeholder is now: its number, or 0 when it is no longer in the library.
  int FindPlaceholder() const;
  // Writes the finished record: in the placeholder's place, or as a new macro when it is gone;
  // false when it could not be written.
  bool StoreRecording(const TMacroRec& record);
  // A recording that could not be kept: its placeholder goes again.
  void DropPlaceholder();
  void EndRecording(std::int32_t changes);
  void ShowDialog(TMacroRec& record);
  void SetSecWind(platform::WindowHandle w, bool on);
  void Tell(int code, int argument);

  platform::Platform& platform_;
  hook::HookLibrary& hook_;
  TGlobData& block_;
  TSettingsRec& settings_;
  MacroLibrary& library_;
  RunFrame& frame_;
  LibrarySync& sync_;
  WindowActivation& activation_;
  HotKeyRouter& hotKeys_;
  const CommandLineOptions& options_;
  const std::string& programFolder_;
  EditorPeer* editor_ = nullptr;
  TrayIcons* tray_ = nullptr;

  CaptureWorkFile work_;
  bool capturing_ = false;
  bool doneSeen_ = false;
  bool writeFailed_ = false;
  int macro_ = 0;
  TMacroRec placeholder_;
  std::string program_;
};

}  // namespace wdx::player
