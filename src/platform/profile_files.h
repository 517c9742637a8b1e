// Private-profile (INI) files with Windows' rules: section and key names compared without
// case; a read returns the default when the key is missing and is cut to bufferSize - 1
// characters; the first write creates the file; failures are silent (false, nothing thrown).
// A bare file name lies in the Windows folder.
#pragma once

#include <cstddef>
#include <string>

namespace wdx::platform {

class ProfileFiles {
 public:
  virtual ~ProfileFiles() = default;
  virtual std::string GetString(const std::string& file, const std::string& section, const std::string& key,
                                const std::string& defaultValue, std::size_t bufferSize = 256) = 0;
  virtual bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& value) = 0;
  // Full path of the file a name refers to (bare names resolve into the Windows folder).
  virtual std::string ResolvePath(const std::string& file) = 0;
};

}  // namespace wdx::platform
