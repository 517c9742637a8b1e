// The stand-in's file operations: real files under the stand-in's root (PathMap), so what a
// macro copies, moves or deletes can be looked at. The current folder is the stand-in's
// SystemFolders value; deleting to the recycle bin removes the entries and records their
// paths; every shell operation is recorded.
#pragma once

#include <string>
#include <vector>

#include "platform/file_operations.h"
#include "platform/memory/memory_system_folders.h"
#include "platform/memory/path_map.h"

namespace wdx::platform {

struct ShellFileCall {
  ShellFileOp op = ShellFileOp::kCopy;
  std::string from, to;
  ShellFileFlags flags;
};

class MemoryFileOperations : public FileOperations {
 public:
  MemoryFileOperations(const PathMap& paths, MemorySystemFolders& folders) : paths_(paths), folders_(folders) {}

  bool SetCurrentFolder(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool CopyFileOver(const std::string& from, const std::string& to) override;
  bool RenameFile(const std::string& from, const std::string& to) override;
  std::optional<std::string> ShortPath(const std::string& path) override;
  bool ShellOperation(ShellFileOp op, const std::string& from, const std::string& to,
                      const ShellFileFlags& flags) override;

  std::vector<ShellFileCall> shellCalls;
  // Stored paths of what went to the recycle bin, in order.
  std::vector<std::string> recycled;
  // Folders CreateFolder made, in order.
  std::vector<std::string> created;

 private:
  const PathMap& paths_;
  MemorySystemFolders& folders_;
};

}  // namespace wdx::platform
