// The editors a new or existing macro is handed to besides the direct text editor: the capture
// dialog and the menu builder (src/editor/builders). The operations reach them only through
// these two functions on the main window's CurMacro, which the program fills with the builders'
// entries and tests with stand-ins; an empty one says the command is not available in this build.
#pragma once

#include <functional>

#include "editor/builders/build_menu.h"
#include "editor/builders/capture_keys.h"
#include "editor/shell/editor_context.h"
#include "editor/shell/main_win.h"

namespace wdx::editor {

struct SubEditors {
  // The capture dialog. The library lock is the dialog's from the call on: it gives it back when
  // no recording started, and the recording's end gives it back otherwise.
  std::function<CaptureResult(TMainWin& main, EditorContext& context, const CaptureRequest& request)> capture;
  // The menu builder; it writes nothing, and the lock stays the opener's.
  std::function<BuildMenuResult(TMainWin& main, EditorContext& context, const BuildMenuRequest& request)> buildMenu;

  // The builders of this build.
  static SubEditors Builders();
};

}  // namespace wdx::editor
