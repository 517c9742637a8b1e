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

// Puts the checking facilities into a platform bundle that the code under test uses.
struct RootedPlatform {
  explicit RootedPlatform(platform::MemoryPlatform& mem) : files(mem), profiles(mem) {}
  void Into(platform::Platform& p) {
    p.files = &files;
    p.profile = &profiles;
  }
  RootedFiles files;
  RootedProfiles profiles;
};

}  // namespace wdx::fuzz
