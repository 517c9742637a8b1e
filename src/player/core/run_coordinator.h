// What starts the runs of library macros and of macro files: the run step of the hot keys and
// menus (with the popup menus on the way), the text channels and the run requests they post,
// a second player's command line, the editor's test run, and the run requests that arrive
// while a macro plays (held, then handled in order once the run is over).
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/platform.h"
#include "player/core/collaborators.h"
#include "player/core/protocol.h"
#include "player/core/run_frame.h"
#include "shared/glob_data.h"
#include "shared/macro_library.h"
#include "shared/settings.h"

namespace wdx::player {

// The most run requests that wait for a run to end; one more is refused.
inline constexpr std::size_t kHeldRequestsMax = 16;

// The macro numbers in use: the block's count, kept to 0..500.
int MacroLimit(const TGlobData& block);

// Which road reached the run step: a hot key (or a tray menu icon), or another one (run
// requests, start-up and floating menus), which treat popup menus and system macros apart.
enum class RunPath { kHotKey, kOther };

class RunCoordinator {
 public:
  using NativePathOf = std::function<std::filesystem::path(const std::string&)>;
  RunCoordinator(platform::Platform& platform, RunFrame& frame, MacroLibrary& library, TGlobData& block,
                 TSettingsRec& settings, MacroMenus& menus, MainWindowActions& main, NativePathOf nativePath,
                 std::string programFolder);

  // The run step of library macro `number`: a popup-menu macro shows its menu and the chosen
  // macro takes its place (a chosen menu opens the next one); a system macro on the other
  // road only opens the top window's menu ("4"); any other macro runs with the in-use flag.
  // Nothing while a macro plays, for a number out of range or a record that cannot be read.
  void RunMacro(int number, RunPath path);
  // Answers the PAUSE window of the playing macro with Resume.
  void ResumePause();

  // The text channels (UM_NICKNAMECHAR, UM_FILENAMECHAR, UM_VARIABLESCHAR).
  void OnTextChannel(std::uint32_t message, std::uint64_t wparam);
  // A second player's command line (UM_COMMANDLINECHAR), one byte per message, 0 ends it.
  void OnCommandLineChar(std::int64_t byte);
  // UM_RUNREQUEST. While a macro plays the request waits, with its buffer's text, until the
  // run is over (it would otherwise be lost, or switch the library under the running macro);
  // beyond kHeldRequestsMax waiting ones it is refused with a line in the error log.
  void OnRunRequest(std::int64_t kind);
  // Handles the oldest held request; false when none waits.
  bool HandleHeldRequest();
  // UM_TESTRUN: the editor's test file, played without the in-use flag.
  void OnTestRun();

  ReceiveBuffers& Buffers() { return buffers_; }
  // The record buffer of the macro being run.
  const TMacroRec& CurrentRecord() const { return record_; }

 private:
  std::string* RequestBuffer(std::int64_t kind);
  void RunByNickname();
  void PlaySingleMacroFile();
  // Waits (at most 2 s, handling no message) until no Shift, Ctrl, Alt or Win key is down.
  void WaitForModifiersUp();

  platform::Platform& platform_;
  RunFrame& frame_;
  MacroLibrary& library_;
  TGlobData& block_;
  TSettingsRec& settings_;
  MacroMenus& menus_;
  MainWindowActions& main_;
  NativePathOf nativePath_;
  std::string programFolder_;
  ReceiveBuffers buffers_;
  TMacroRec record_;
  struct HeldRequest {
    std::int64_t kind;
    std::string text;
  };
  std::deque<HeldRequest> held_;
};

}  // namespace wdx::player
