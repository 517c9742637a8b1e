// The environment and file paths on Windows' own functions.
#pragma once

#include "platform/environment.h"
#include "platform/files.h"

namespace wdx::platform {

class Win32Environment : public Environment {
 public:
  bool SetVariable(const std::string& name, const std::string& value) override;
  std::optional<std::string> GetVariable(const std::string& name) override;
};

class Win32Files : public Files {
 public:
  std::string NativePath(const std::string& path) override { return path; }
};

}  // namespace wdx::platform
