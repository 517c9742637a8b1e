// The icon choice of the macro and menu editors: an icon file picked with "Load in Icon" is
// copied into the Icons folder of the program folder (an icon of that name there already is
// used instead), and the record names it by its file name there.
#pragma once

#include <optional>
#include <string>

#include "editor/shell/editor_context.h"
#include "editor/shell/main_win.h"

namespace wdx::editor {

// The program folder's Icons folder.
std::string IconFolder(const EditorContext& context);
// Runs the open dialog in the Icons folder; the chosen icon's name in that folder, or
// std::nullopt when the user cancelled or the icon cannot be used (the user was told why).
std::optional<std::string> ChooseIconFile(TMainWin& main, EditorContext& context, platform::WindowHandle owner);

}  // namespace wdx::editor
