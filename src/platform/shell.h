// The shell: opening a file or starting a program the way the desktop does, and the functions
// of the shell's automation object (minimise all, the find and run dialogs, special folders).
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"
#include "platform/window_system.h"

namespace wdx::platform {

// The functions of the shell's automation object; kExplore opens a special folder (the shell's
// folder number) in the explorer view.
enum class ShellFunction : std::uint8_t {
  kMinimizeAll,
  kUndoMinimizeAll,
  kSuspend,
  kEjectPc,
  kSetTime,
  kFindComputer,
  kFindFiles,
  kFileRun,
  kExplore,
};

enum class ShellCallResult : std::uint8_t {
  kDone,
  kNoShellObject,  // the automation object could not be created
  kFailed,         // the object was there, its function failed
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Performs `verb` ("open") on `file` with the parameters, in `directory` (empty: the
  // current one), showing the new window as `show` says. Returns the system's result: above
  // 32 when it succeeded.
  virtual std::int32_t Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                               const std::string& parameters, const std::string& directory, ShowMode show) = 0;
  // Calls one function of the shell's automation object; `folder` is the special folder of
  // kExplore.
  virtual ShellCallResult CallShellFunction(ShellFunction function, std::int32_t folder) = 0;
};

}  // namespace wdx::platform
