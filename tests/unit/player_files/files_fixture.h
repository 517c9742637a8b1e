// The interpreter over the whole stand-in with a tree of real files under its root: files are
// written and read by their Windows paths.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "prompt_host.h"

namespace wdx::player::testing {

class FilesTest : public PromptTest {
 protected:
  void Write(const std::string& windowsPath, const std::string& bytes) {
    const std::filesystem::path p = mem.NativePath(windowsPath);
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& windowsPath) {
    std::ifstream in(mem.NativePath(windowsPath), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  bool Exists(const std::string& windowsPath) { return std::filesystem::exists(mem.NativePath(windowsPath)); }
  bool IsFolder(const std::string& windowsPath) { return std::filesystem::is_directory(mem.NativePath(windowsPath)); }
  std::string& T(int n) { return st.vars.text[static_cast<std::size_t>(n)]; }
  // Captions of the message boxes and the long-text windows shown.
  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (const Box& b : host.boxes) out.push_back(b.caption);
    for (const Box& b : host.longTexts) out.push_back(b.caption);
    return out;
  }
};

}  // namespace wdx::player::testing
