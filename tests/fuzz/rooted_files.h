// The stand-in's files and INI files with every path they hand out checked: a path that leaves
// the platform's root folder is a finding. ".." in a path the code under test was given must
// stop at the drive or share root, as on Windows, and never reach the machine running the test.
#pragma once

#include <filesystem>
#include <string>

#include "fuzz_support.h"
#include "platform/memory/memory_platform.h"

namespace wdx::fuzz {

inline void CheckWithinRoot(const std::string& root, const std::string& native, const std::string& given) {
  const std::filesystem::path rel =
      std::filesystem::path(native).lexically_normal().lexically_relative(std::filesystem::path(root).lexically_normal());
  if (rel.empty() || *rel.begin() == "..") Finding("the path \"" + given + "\" left the stand-in's root: " + native);
}

class RootedFiles : public platform::Files {
 public:
  explicit RootedFiles(platform::MemoryPlatform& mem) : mem_(mem) {}
  std::string NativePath(const std::string& path) override {
    std::string native = mem_.files.NativePath(path);
    CheckWithinRoot(mem_.Root(), native, path);
    return native;
  }

 private:
  platform::MemoryPlatform& mem_;
};

class RootedProfiles : public platform::ProfileFiles {
 public:
  explicit RootedProfiles(platform::MemoryPlatform& mem) : mem_(mem) {}
  std::string GetString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& defaultValue, std::size_t bufferSize) override {
    ResolvePath(file);
    return mem_.profile.GetString(file, section, key, defaultValue, bufferSize);
  }
  bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override {
    ResolvePath(file);
    return mem_.profile.WriteString(file, section, key, value);
  }
  std::string ResolvePath(const std::string& file) override {
    std::string native = mem_.profile.ResolvePath(file);
    CheckWithinRoot(mem_.Root(), native, file);
    return native;
  }

 private:
  platform::MemoryPlatform& mem_;
};

// The stand-in's file operations (copies, renames, deletes, folders) with every path checked
// before it is acted on.
class RootedFileOperations : public platform::FileOperations {
 public:
  explicit RootedFileOperations(platform::MemoryPlatform& mem) : mem_(mem) {}
  bool SetCurrentFolder(const std::string& path) override { return Checked(path).SetCurrentFolder(path); }
  bool CreateFolder(const std::string& path) override { return Checked(path).CreateFolder(path); }
  bool FolderExists(const std::string& path) override { return Checked(path).FolderExists(path); }
  bool RemoveFile(const std::string& path) override { return Checked(path).RemoveFile(path); }
  bool CopyFileOver(const std::string& from, const std::string& to) override {
    return Checked(from, to).CopyFileOver(from, to);
  }
  bool RenameFile(const std::string& from, const std::string& to) override {
    return Checked(from, to).RenameFile(from, to);
  }
  std::optional<std::string> ShortPath(const std::string& path) override { return Checked(path).ShortPath(path); }
  bool ShellOperation(platform::ShellFileOp op, const std::string& from, const std::string& to,
                      const platform::ShellFileFlags& flags) override {
    return Checked(from, to).ShellOperation(op, from, to, flags);
  }

 private:
  platform::MemoryFileOperations& Checked(const std::string& path, const std::string& other = {}) {
    for (const std::string* p : {&path, &other}) {
      if (!p->empty()) CheckWithinRoot(mem_.Root(), mem_.NativePath(*p), *p);
    }
    return mem_.fileOps;
  }
  platform::MemoryPlatform& mem_;
};

// Puts the checking facilities into a platform bundle that the code under test uses.
struct RootedPlatform {
  explicit RootedPlatform(platform::MemoryPlatform& mem) : files(mem), profiles(mem), fileOps(mem) {}
  void Into(platform::Platform& p) {
    p.files = &files;
    p.profile = &profiles;
    p.fileOps = &fileOps;
  }
  RootedFiles files;
  RootedProfiles profiles;
  RootedFileOperations fileOps;
};

}  // namespace wdx::fuzz
