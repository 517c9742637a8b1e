// The shell: opening a file or starting a program the way the desktop does.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"
#include "platform/window_system.h"

namespace wdx::platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // Performs `verb` ("open") on `file` with the parameters, in `directory` (empty: the
  // current one), showing the new window as `show` says. Returns the system's result: above
  // 32 when it succeeded.
  virtual std::int32_t Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                               const std::string& parameters, const std::string& directory, ShowMode show) = 0;
};

}  // namespace wdx::platform
