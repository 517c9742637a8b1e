// Files named by macros and settings. Files are real on both sides; this facility only says
// where a path as the system stores it (drive letter, backslashes, relative to the current
// folder) lies for the C++ library's file streams.
#pragma once

#include <string>

namespace wdx::platform {

class Files {
 public:
  virtual ~Files() = default;
  // The path to open. On Windows the path itself (relative paths stay relative to the
  // process's current folder); the stand-in maps it under its root folder.
  virtual std::string NativePath(const std::string& path) = 0;
};

}  // namespace wdx::platform
