// The stand-in's INI files: real files on disk (paths mapped by PathMap) read and written with
// the rules of Windows' private-profile functions, checked against the real functions by the
// Windows test program.
#pragma once

#include "platform/memory/path_map.h"
#include "platform/profile_files.h"

namespace wdx::platform {

class MemoryProfileFiles : public ProfileFiles {
 public:
  explicit MemoryProfileFiles(const PathMap& paths) : paths_(paths) {}

  std::string GetString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& defaultValue, std::size_t bufferSize = 256) override;
  bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override;
  std::string ResolvePath(const std::string& file) override { return paths_.ToNative(file); }

 private:
  const PathMap& paths_;
};

}  // namespace wdx::platform
