// Changing files and folders as the system does it: the current folder, new folders, the
// single-file functions, short names, and the shell's file operation (wildcards, whole folders,
// the recycle bin). Paths are stored paths in Windows' form; every call reports only whether
// the system said it succeeded.
#pragma once

#include <optional>
#include <string>

namespace wdx::platform {

// The shell's operations by the system's numbers.
enum class ShellFileOp { kMove = 1, kCopy = 2, kDelete = 3, kRename = 4 };

struct ShellFileFlags {
  bool silent = false;       // no progress window
  bool allowUndo = false;    // deleted files go to the recycle bin
  bool noRecursion = false;  // a wildcard acts on the folder's own files only
  bool operator==(const ShellFileFlags&) const = default;
};

class FileOperations {
 public:
  virtual ~FileOperations() = default;
  virtual bool SetCurrentFolder(const std::string& path) = 0;
  // One folder, whose parent exists.
  virtual bool CreateFolder(const std::string& path) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // Replaces an existing destination.
  virtual bool CopyFileOver(const std::string& from, const std::string& to) = 0;
  // Renames or moves a file or folder; an existing destination is not replaced.
  virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
  // The short form of an existing path; nullopt when the path does not exist.
  virtual std::optional<std::string> ShortPath(const std::string& path) = 0;
  // The shell's operation on `from` (a file, a folder or a wildcard name) to `to`, without
  // asking, making missing destination folders.
  virtual bool ShellOperation(ShellFileOp op, const std::string& from, const std::string& to,
                              const ShellFileFlags& flags) = 0;
};

}  // namespace wdx::platform
