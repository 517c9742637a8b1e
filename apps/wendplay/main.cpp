// Wendplay.exe: a Windows GUI program (no console window). The entry point only builds the real
// platform, loads the hook library beside the program and makes the runner of the prompt
// windows, and hands them to the player (which says so when the hook library did not load).
#include "forms/win32/win32_runner.h"
#include "hook/win32/dll_hook_library.h"
#include "platform/win32/win32_platform.h"
#include "player/core/startup.h"

int main() {
  wdx::platform::Win32Platform win32;
  wdx::platform::Platform platform = win32.Get();
  wdx::hook::DllHookLibrary hook(wdx::player::kHookLibraryFile);
  wdx::forms::Win32Runner forms;
  return wdx::player::RunPlayer(platform, hook, &forms, hook.Loaded());
}
