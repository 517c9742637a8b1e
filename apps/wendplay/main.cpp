// Wendplay.exe: a Windows GUI program (no console window). The entry point only builds the real
// platform and loads the hook library beside the program, and hands both to the player.
#include "hook/win32/dll_hook_library.h"
#include "platform/win32/win32_platform.h"
#include "player/core/startup.h"

int main() {
  wdx::platform::Win32Platform win32;
  wdx::platform::Platform platform = win32.Get();
  wdx::hook::DllHookLibrary hook;
  return wdx::player::RunPlayer(platform, hook);
}
