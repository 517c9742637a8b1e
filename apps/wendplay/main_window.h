// Wendplay's hidden main window and its message loop, on whatever platform it is handed.
#pragma once

#include "platform/platform.h"

namespace wdx::wendplay {

// The main window is found by other programs (the editor, a second player) by these names.
inline constexpr char kMainWindowClass[] = "TMainWin";
inline constexpr char kMainWindowTitle[] = "Wendrix Player";

// Creates the hidden main window and runs the message loop until the window is asked to close
// (WM_CLOSE); the window is destroyed again before returning. Returns the loop's exit code
// (0 after a close; 1 when the window cannot be created).
int RunMainWindow(platform::Platform& p);

}  // namespace wdx::wendplay
