// The stand-in processes: a list the test fills (or derives from the desktop's windows), the
// program's own path and command line as the test sets them, and a count of bindings.
#pragma once

#include <string>
#include <vector>

#include "platform/processes.h"

namespace wdx::platform {

class MemoryProcesses : public Processes {
 public:
  bool Bind() override;
  void Release() override;
  std::vector<ProcessEntry> List() override;
  std::string ExeName(std::uint32_t processId) override;
  std::string OwnExecutablePath() override { return executablePath; }
  std::string OwnCommandLine() override { return commandLine; }

  // --- Test controls
  void Add(std::uint32_t id, const std::string& exeName) { running.push_back({id, exeName}); }
  void Remove(std::uint32_t id);
  bool Bound() const { return bound_; }

  std::vector<ProcessEntry> running;
  std::string executablePath = "C:\\WENDRIX\\WENDPLAY.EXE";
  std::string commandLine = "C:\\WENDRIX\\WENDPLAY.EXE";
  // Bind fails while set (a system without the enumeration functions).
  bool refuseBind = false;
  int bindCalls = 0;
  int releaseCalls = 0;

 private:
  bool bound_ = false;
};

}  // namespace wdx::platform
