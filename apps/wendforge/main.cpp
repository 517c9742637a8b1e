// Wendforge.exe: a Windows GUI program (no console window). The entry point only builds the real
// platform, loads the hook library beside the program and makes the form runner, and hands them
// to the editor.
#include "editor/macros/macro_operations.h"
#include "editor/shell/editor_start.h"
#include "forms/win32/win32_runner.h"
#include "hook/win32/dll_hook_library.h"
#include "platform/win32/win32_platform.h"

int main() {
  wdx::platform::Win32Platform win32;
  wdx::platform::Platform platform = win32.Get();
  wdx::hook::DllHookLibrary hook(wdx::editor::kHookLibraryFile);
  wdx::forms::Win32Runner forms;
  constexpr wdx::editor::EditorFeature kFeatures[] = {&wdx::editor::InstallMacroCommands};
  return wdx::editor::RunEditor(platform, hook, forms, kFeatures);
}
