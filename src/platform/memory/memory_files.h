// The stand-in's file paths: drive paths map under the platform's root folder; a relative
// path lies in the stand-in's Windows folder (it has no current folder of its own).
#pragma once

#include <string>

#include "platform/files.h"
#include "platform/memory/path_map.h"

namespace wdx::platform {

class MemoryFiles : public Files {
 public:
  explicit MemoryFiles(const PathMap& paths) : paths_(paths) {}
  std::string NativePath(const std::string& path) override { return paths_.ToNative(path); }

 private:
  const PathMap& paths_;
};

}  // namespace wdx::platform
