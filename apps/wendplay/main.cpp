// Wendplay.exe: a Windows GUI program (no console window). The entry point only builds the real
// platform and hands it to the player.
#include "platform/win32/win32_platform.h"
#include "wendplay/main_window.h"

int main() {
  wdx::platform::Win32Platform win32;
  wdx::platform::Platform platform = win32.Get();
  return wdx::wendplay::RunMainWindow(platform);
}
