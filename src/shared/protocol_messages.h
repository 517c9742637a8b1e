// The window messages that pass between the player, the hook library, the editor and other
// programs (WM_USER + 1 .. WM_USER + 30), and the codes they carry. Both programs and the hook
// library use this one table. The messages cross process boundaries, so every number here is
// fixed; no message expects a reply.
#pragma once

#include <cstdint>

namespace wdx {

inline constexpr std::uint32_t UM_HOTKEYINDEX = 0x401;
inline constexpr std::uint32_t UM_HOTKEY = 0x402;
inline constexpr std::uint32_t UM_CAPTURECHAR = 0x403;
inline constexpr std::uint32_t UM_CAPTUREDONE = 0x404;
inline constexpr std::uint32_t UM_ABORTMACRO = 0x405;
inline constexpr std::uint32_t UM_ABBREKEYCHAR = 0x406;
inline constexpr std::uint32_t UM_FOREGROUND = 0x407;
inline constexpr std::uint32_t UM_HOOKTRACE = 0x408;
inline constexpr std::uint32_t UM_CAPSLOCKSTATE = 0x409;
inline constexpr std::uint32_t UM_RUNREQUEST = 0x40A;
inline constexpr std::uint32_t UM_CONTROL = 0x40B;
inline constexpr std::uint32_t UM_CLEARINUSE = 0x40C;
inline constexpr std::uint32_t UM_PROGRAMSCHANGED = 0x40D;
inline constexpr std::uint32_t UM_MOUSESEEN = 0x40E;
inline constexpr std::uint32_t UM_KEYSEEN = 0x40F;
inline constexpr std::uint32_t UM_TYPEDCHAR = 0x410;
inline constexpr std::uint32_t UM_KEYSYNCDONE = 0x411;
inline constexpr std::uint32_t UM_IDLEENDED = 0x412;
inline constexpr std::uint32_t UM_NICKNAMECHAR = 0x414;
inline constexpr std::uint32_t UM_FILENAMECHAR = 0x415;
inline constexpr std::uint32_t UM_MOUSELEFT = 0x416;
inline constexpr std::uint32_t UM_MOUSERIGHT = 0x417;
inline constexpr std::uint32_t UM_MOUSEMIDDLE = 0x418;
inline constexpr std::uint32_t UM_NUMLOCKSTATE = 0x419;
inline constexpr std::uint32_t UM_SCROLLLOCKSTATE = 0x41A;
inline constexpr std::uint32_t UM_TEXTBOXCLOSED = 0x41B;
inline constexpr std::uint32_t UM_TESTRUN = 0x41C;
inline constexpr std::uint32_t UM_VARIABLESCHAR = 0x41D;
inline constexpr std::uint32_t UM_COMMANDLINECHAR = 0x41E;

// UM_HOTKEY's wParam: the hot key index, with the Caps Lock state in one bit; or a macro number
// with the macro bit (a tray menu icon names its macro directly).
inline constexpr std::uint32_t kHotKeyCapsBit = 0x8000;
inline constexpr std::uint32_t kHotKeyMacroBit = 0x4000;
inline constexpr std::uint32_t kHotKeyMacroMask = 0xAFFF;

// UM_ABBREKEYCHAR's wParam: 1 empties the word buffer, 2 marks Caps Lock on.
inline constexpr std::uint32_t kAbbrekeyReset = 1;
inline constexpr std::uint32_t kAbbrekeyCapsOn = 2;

// UM_RUNREQUEST's lParam: what the player posts itself once a text channel's text is complete.
namespace run_request {
inline constexpr int kNickname = 0;
inline constexpr int kSwitchLibrary = 1;
inline constexpr int kSingleMacroFile = 2;
}  // namespace run_request

// UM_CONTROL codes the editor (or the player itself) sends the player; the argument in lParam.
namespace control {
inline constexpr int kRemapChanged = 1;
inline constexpr int kLibraryReplaced = 2;
inline constexpr int kSchedulesChanged = 3;
inline constexpr int kEditorClosing = 4;
inline constexpr int kMenuIcons = 5;
inline constexpr int kDataGroup = 6;  // argument: the data group to copy from the hook library
inline constexpr int kHooks = 7;      // argument: one of hook_switch
inline constexpr int kMacroEntries = 8;  // argument: the macro whose entries to copy
inline constexpr int kMainIcon = 9;      // argument 0 off, 1 on
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
inline constexpr int kRecordRewritten = 20;  // argument: the macro number
inline constexpr int kReload = 21;           // argument above 0: the menu tray icons too
inline constexpr int kOpenFloater = 25;
inline constexpr int kReopenFloaters = 26;
inline constexpr int kCloseFloater = 27;
inline constexpr int kReloadMouse = 28;
inline constexpr int kReadScriptPage = 29;
inline constexpr int kClosePlayer = 30;
}  // namespace control

// The argument of UM_CONTROL kHooks.
namespace hook_switch {
inline constexpr int kKeyboardOn = 1;
inline constexpr int kKeyboardOff = 2;
inline constexpr int kMouseOn = 3;
inline constexpr int kMouseOff = 4;
}  // namespace hook_switch

// UM_CONTROL codes the player sends the editor.
namespace editor_notice {
inline constexpr int kRepaint = 1;
inline constexpr int kRefill = 2;  // argument: the macro to select when listed
inline constexpr int kLibrarySwitched = 3;
inline constexpr int kMacroRemoved = 4;  // argument: the macro whose row stays chosen
inline constexpr int kDataGroup = 6;     // argument: the data group the player pushed
inline constexpr int kMacroEntries = 8;  // argument: the macro whose entries were pushed
inline constexpr int kRecordWritten = 20;
inline constexpr int kReloadAll = 21;
inline constexpr int kFloaterClosed = 22;
}  // namespace editor_notice

// The data groups of the hook-globals block that a program copies out of the hook library's
// copy after the other program pushed them.
namespace data_group {
inline constexpr int kCaptureSetUp = 0;
inline constexpr int kCaptureOn = 1;
inline constexpr int kInUse = 2;
inline constexpr int kSecondaryWindow = 6;
inline constexpr int kMacroEntries = 7;  // with a macro number
inline constexpr int kMacroCount = 8;
inline constexpr int kHotKeyMap = 14;
}  // namespace data_group

// WM_QUIT's wParam when the closing player ends the editor.
inline constexpr std::uint64_t kEditorQuitCode = 10;

}  // namespace wdx
