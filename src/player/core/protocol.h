// The player's side of the text channels (one character per message: a nickname, a file name,
// variable presets, a second player's command line), the texts of the protocol's refusals, and
// small text helpers. The messages and their codes are in shared/protocol_messages.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "shared/protocol_messages.h"
#include "shared/text_util.h"

namespace wdx::player {

inline constexpr char kTestRunFileName[] = "WENDTEMP.WRM";
inline constexpr char kSingleMacroName[] = "WRM Macro File";
inline constexpr char kTestRunName[] = "Test Run Macro";

// The texts of the protocol's refusals and failures.
inline constexpr char kWarningCaption[] = "Warning";
inline constexpr char kErrorCaption[] = "Error";
inline constexpr char kPopupShowingText[] =
    "A current Popup Menu macro is being displayed. Another macro cannot be executed until either a choice is "
    "made from the Popup Menu or it is cancelled.";
inline constexpr char kRecordingText[] =
    "A macro is currently being recorded. Another macro cannot be executed until the recording is completed.";
inline constexpr char kPauseText[] =
    "A current playback macro is in the middle of a PAUSE. Another macro cannot be executed until the PAUSE is "
    "either cancelled or resumed.";
inline constexpr char kSingleMacroOpenError[] = "Error opening the specified WRM file.  Macro aborted.";
inline constexpr char kTestRunBusyText[] = "Cannot test run macro because a macro is already playing.";
inline constexpr char kTestRunOpenError[] = "Could not run test macro because of File Open error.";

// The receive buffers of the text channels: short strings, a character beyond 255 is dropped.
inline constexpr std::size_t kReceiveBufferMax = kShortStringMax;
struct ReceiveBuffers {
  std::string nickname;  // also collects a second player's whole command line
  std::string libraryPath;
  std::string singleMacroFile;
  std::string variables;
};
void AppendChannelChar(std::string& buffer, std::uint8_t c);

}  // namespace wdx::player
