// File operations on Windows' own functions; the shell's file operation is bound when first
// used (shell32 is not linked, see late_entry.h).
#pragma once

#include "platform/file_operations.h"

namespace wdx::platform {

class Win32FileOperations : public FileOperations {
 public:
  bool SetCurrentFolder(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool CopyFileOver(const std::string& from, const std::string& to) override;
  bool RenameFile(const std::string& from, const std::string& to) override;
  std::optional<std::string> ShortPath(const std::string& path) override;
  bool ShellOperation(ShellFileOp op, const std::string& from, const std::string& to,
                      const ShellFileFlags& flags) override;
};

}  // namespace wdx::platform
