// The shell on Windows (ShellExecute).
#pragma once

#include "platform/shell.h"

namespace wdx::platform {

class Win32Shell : public Shell {
 public:
  std::int32_t Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                       const std::string& parameters, const std::string& directory, ShowMode show) override;
};

}  // namespace wdx::platform
