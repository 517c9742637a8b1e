// Process enumeration on Windows: the PSAPI functions on NT, the tool-help snapshot on the 95
// family, both bound by name. A process whose modules cannot be read (one of the other word
// size) is named from the snapshot instead.
#pragma once

#include "platform/processes.h"

namespace wdx::platform {

class Win32Processes : public Processes {
 public:
  Win32Processes() = default;
  ~Win32Processes() override;
  Win32Processes(const Win32Processes&) = delete;
  Win32Processes& operator=(const Win32Processes&) = delete;

  bool Bind() override;
  void Release() override;
  std::vector<ProcessEntry> List() override;
  std::string ExeName(std::uint32_t processId) override;
  std::string OwnExecutablePath() override;
  std::string OwnCommandLine() override;

 private:
  struct Functions;
  std::vector<ProcessEntry> Snapshot();
  std::string ModuleName(std::uint32_t processId);
  void* library_ = nullptr;
  Functions* fn_ = nullptr;
};

}  // namespace wdx::platform
