// The system's folders through the kernel's directory functions.
#pragma once

#include "platform/system_folders.h"

namespace wdx::platform {

class Win32SystemFolders : public SystemFolders {
 public:
  std::string CurrentFolder() override;
  std::string SystemFolder() override;
  std::string TempFolder() override;
  std::string WindowsFolder() override;
};

}  // namespace wdx::platform
