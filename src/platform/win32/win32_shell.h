// The shell on Windows (ShellExecute, and the shell's automation object through COM, loaded on
// first use).
#pragma once

#include "platform/shell.h"

namespace wdx::platform {

class Win32Shell : public Shell {
 public:
  std::int32_t Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                       const std::string& parameters, const std::string& directory, ShowMode show) override;
  ShellCallResult CallShellFunction(ShellFunction function, std::int32_t folder) override;
};

}  // namespace wdx::platform
