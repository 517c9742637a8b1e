// The editors a new or existing macro is handed to besides the direct text editor: the
// recording (capture) dialog and the menu builder. They work on the main window's CurMacro and
// are reached only through this narrow entry, so the operations here do not depend on how they
// are built; an editor that is not installed says the command is not available.
#pragma once

#include <functional>
#include <string>

#include "editor/shell/editor_context.h"
#include "editor/shell/main_win.h"

namespace wdx::editor {

struct CaptureOrder {
  // The macro recorded into: an existing one (recapture) or the number the new one will get.
  int macro = 0;
  bool recapture = false;
  // A global macro already has the hot key: the recording can only be for one program.
  bool forceProgramScope = false;
  // What the dialog shows as the macro's activation.
  std::string activationLabel;
};

struct MenuOrder {
  bool floating = false;
  // True: CurMacro is an existing menu to edit; false: a new one (its activation already set).
  bool modify = false;
};

struct MenuOutcome {
  // Save completed: CurMacro holds the menu to write.
  bool saved = false;
  // The player must rebuild its tray icons of popup menus.
  bool trayChanged = false;
};

struct SubEditors {
  // Shows the capture dialog on CurMacro; true when a new macro was set up for recording (the
  // opener appends it as the next number, raising the macro count unless the dialog did). The
  // dialog gives the library lock back when it closes, or the recording's end does.
  std::function<bool(TMainWin& main, EditorContext& context, const CaptureOrder& order)> capture;
  // Shows the menu builder on CurMacro; it writes nothing itself.
  std::function<MenuOutcome(TMainWin& main, EditorContext& context, const MenuOrder& order)> buildMenu;
};

}  // namespace wdx::editor
