// Shortcut files (.lnk) of the desktop and the Start menu: what program a shortcut starts.
#pragma once

#include <optional>
#include <string>

namespace wdx::platform {

class ShellLinks {
 public:
  virtual ~ShellLinks() = default;
  // The path a shortcut file points to; nullopt when the file is no shortcut or cannot be
  // read (a shortcut to a program that is gone still answers with its path).
  virtual std::optional<std::string> Target(const std::string& linkPath) = 0;
};

}  // namespace wdx::platform
