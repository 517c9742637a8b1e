// The window messages of the player's protocol (WM_USER + 1 .. WM_USER + 30). They cross
// process boundaries, so the numbers are fixed; the hook library posts most of them.
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

// UM_HOTKEY's wParam carries the Caps Lock state in this bit.
inline constexpr std::uint32_t kHotKeyCapsBit = 0x8000;
// UM_ABBREKEYCHAR's wParam: 1 empties the word buffer, 2 marks Caps Lock on.
inline constexpr std::uint32_t kAbbrekeyReset = 1;
inline constexpr std::uint32_t kAbbrekeyCapsOn = 2;

}  // namespace wdx
