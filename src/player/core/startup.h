// The player's process from start to end: the single-instance rule (a second player forwards
// its command line to the first and ends), the program block (named block and mutexes, the
// hook-globals block, the settings), the main window and its message loop, and what is freed
// after the loop ends.
#pragma once

#include <memory>
#include <string>

#include "forms/runner.h"
#include "hook/hook_library.h"
#include "platform/platform.h"
#include "shared/text_util.h"

namespace wdx::player {

inline constexpr int kForwardTries = 12;
// The hook library, beside the program.
inline constexpr char kHookLibraryFile[] = "WDXHOOK.dll";
inline constexpr char kForwardWaitSemaphore[] = "WendplayPlayWaitTimer";

// The single-instance marker WDXEX321Z, held for the life of the first player.
class InstanceManager {
 public:
  // True when no player runs yet: the marker is created and held from now on. False for a
  // second player.
  bool TakeFirstPlace(platform::KernelObjects& kernel);
  void Close() { marker_.reset(); }

 private:
  std::unique_ptr<platform::SharedMemory> marker_;
};

// Finds the first player's window by its title and posts it the command line one byte per
// UM_COMMANDLINECHAR (wParam 0, lParam the byte; no more than the 255 it keeps), then a 0;
// false when no such window exists.
bool SendCommandLineToFirst(platform::WindowSystem& windows, const std::string& commandLine);
// A second player: tries up to 12 times, a second apart, to hand its command line over.
// Returns the try that succeeded, or 0 when it gave up.
int ForwardToFirst(platform::Platform& platform, const std::string& commandLine);

// The folder of the executable is shared with the editor (shared/text_util.h).
using wdx::ProgramFolderOf;

// What the start says (caption kSystemErrorCaption) when the hook library at `path` could not
// be loaded, or lacks an export: the player goes on without its hooks.
std::string HookLibraryMissingText(const std::string& path);

// The whole player: returns the exit code (0 after a normal close and for a second player that
// handed its command line over or gave up; 1 when the start failed). `forms` shows the prompt
// windows of running macros. When the hook library did not load the start says so and the
// player runs without it: no hot key, Abbrekey or recording reaches it.
int RunPlayer(platform::Platform& platform, hook::HookLibrary& hook, forms::FormRunner* forms = nullptr,
              bool hookLibraryLoaded = true);

}  // namespace wdx::player
