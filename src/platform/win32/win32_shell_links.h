// Shortcut files through the shell's link object, and the help viewer (WinHelp).
#pragma once

#include "platform/help_files.h"
#include "platform/shell_links.h"

namespace wdx::platform {

class Win32ShellLinks : public ShellLinks {
 public:
  std::optional<std::string> Target(const std::string& linkPath) override;
};

class Win32HelpFiles : public HelpFiles {
 public:
  bool ShowKeyword(WindowHandle owner, const std::string& file, const std::string& keyword) override;
  bool ShowContents(WindowHandle owner, const std::string& file) override;
};

}  // namespace wdx::platform
