// The folders the system names: the process's current folder, the system and Windows folders
// and the folder for temporary files.
#pragma once

#include <string>

namespace wdx::platform {

class SystemFolders {
 public:
  virtual ~SystemFolders() = default;
  // The current folder as the system gives it: a drive root ends in "\" ("C:\"), other folders
  // do not. Empty when it cannot be read.
  virtual std::string CurrentFolder() = 0;
  virtual std::string SystemFolder() = 0;
  // Ends with "\".
  virtual std::string TempFolder() = 0;
  virtual std::string WindowsFolder() = 0;
};

}  // namespace wdx::platform
