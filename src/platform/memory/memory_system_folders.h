// The stand-in's folders: plain values a test sets (the defaults lie on drive C: of the
// stand-in, beside its Windows folder).
#pragma once

#include <string>

#include "platform/system_folders.h"

namespace wdx::platform {

class MemorySystemFolders : public SystemFolders {
 public:
  std::string CurrentFolder() override { return current; }
  std::string SystemFolder() override { return system; }
  std::string TempFolder() override { return temp; }
  std::string WindowsFolder() override { return windows; }

  std::string current = "C:\\";
  std::string system = "C:\\windows\\system32";
  std::string temp = "C:\\windows\\temp\\";
  std::string windows = "C:\\windows";
};

}  // namespace wdx::platform
