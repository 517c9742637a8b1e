// What travels between the player, the editor and other programs besides the hook library's
// reports: the UM_CONTROL codes both ways, the run requests the player posts to itself, the
// one-character text channels and the command line a second player forwards. The message
// numbers themselves are the hook library's (hook/hook_messages.h): one table for all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "hook/hook_messages.h"
#include "player/interpreter/interpreter_host.h"

namespace wdx::player {

// UM_CONTROL codes the editor (or the player itself) sends the player.
namespace control {
inline constexpr int kRemapChanged = 1;
inline constexpr int kLibraryReplaced = 2;
inline constexpr int kSchedulesChanged = 3;
inline constexpr int kEditorClosing = 4;
inline constexpr int kMenuIcons = 5;
inline constexpr int kDataGroup = 6;
inline constexpr int kHooks = 7;  // argument 1..4: keyboard on/off, mouse on/off
inline constexpr int kMacroEntries = 8;
inline constexpr int kMainIcon = 9;  // argument 0 off, 1 on
inline constexpr int kReadAbbrekeys = 10;
inline constexpr int kReadCapture = 11;
inline constexpr int kReadNetwork = 12;
inline constexpr int kReadEMail = 13;
inline constexpr int kReadScheduler = 14;
inline constexpr int kReadMisc = 15;
inline constexpr int kReadPrintListFont = 16;
inline constexpr int kReadMainWindow = 17;
inline constexpr int kReadGridFont = 18;
inline constexpr int kReadGridTitleFont = 19;
inline constexpr int kRecordRewritten = 20;
inline constexpr int kReload = 21;
inline constexpr int kOpenFloater = 25;
inline constexpr int kReopenFloaters = 26;
inline constexpr int kCloseFloater = 27;
inline constexpr int kReloadMouse = 28;
inline constexpr int kReadScriptPage = 29;
inline constexpr int kClosePlayer = 30;
}  // namespace control

// UM_CONTROL codes the player sends the editor.
namespace editor_notice {
inline constexpr int kRepaint = 1;
inline constexpr int kLibrarySwitched = 3;
inline constexpr int kDataGroup = 6;  // groups 0, 1, 2, 6, 8, 14
inline constexpr int kMacroEntries = 8;
inline constexpr int kRecordWritten = 20;
inline constexpr int kReloadAll = 21;
inline constexpr int kFloaterClosed = 22;
}  // namespace editor_notice

// The data groups the player tells the editor about.
namespace data_group {
inline constexpr int kCaptureSetUp = 0;
inline constexpr int kCaptureOn = 1;
inline constexpr int kInUse = 2;
inline constexpr int kSecondaryWindow = 6;
inline constexpr int kMacroCount = 8;
inline constexpr int kHotKeyMap = 14;
}  // namespace data_group

// lParam of UM_RUNREQUEST.
namespace run_request {
inline constexpr int kNickname = 0;
inline constexpr int kSwitchLibrary = 1;
inline constexpr int kSingleMacroFile = 2;
}  // namespace run_request

// UM_HOTKEY's wParam: a tray menu icon asks for its macro directly with this bit.
inline constexpr std::uint32_t kHotKeyMacroBit = 0x4000;
inline constexpr std::uint32_t kHotKeyMacroMask = 0xAFFF;

// The marker key the player posts after a run's last key.
inline constexpr std::uint8_t kRunEndMarkerKey = 0x2B;  // VK_EXECUTE

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
inline constexpr std::size_t kReceiveBufferMax = 255;
struct ReceiveBuffers {
  std::string nickname;  // also collects a second player's whole command line
  std::string libraryPath;
  std::string singleMacroFile;
  std::string variables;
};
void AppendChannelChar(std::string& buffer, std::uint8_t c);

// Upper-cased copy (code page 1252: only a..z change, as the system's ASCII upper-casing).
std::string UpperCase(std::string_view text);
std::string TrimBlanks(std::string_view text);
// The value of a switch in a command line: the text after the first occurrence of `switchText`
// (found without regard to case), up to the next "/" or the end, blanks trimmed on both sides.
// False when the switch does not occur.
bool SwitchValue(std::string_view line, std::string_view switchText, std::string& value);

// Splits a command line into parameters as the system's run-time library does for ParamStr:
// blanks (and control characters) separate, double quotes group and are removed. Parameter 0
// is the program.
std::vector<std::string> SplitCommandLine(std::string_view line);

// Variable presets "/V" + T, N or D + number + ":" + value, any number of them, into the SAVED
// set: T1..T99 take the value (trimmed, case kept), N1..N50 a whole number, D1..D50 a decimal
// number. A value that is no number, another letter, a number out of range or a preset
// without ":" sets nothing.
void SetCommandVariables(std::string_view text, VariableSet& saved);

}  // namespace wdx::player
