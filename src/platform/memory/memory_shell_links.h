// The stand-in shortcuts: a shortcut file of the stand-in's disk holds its target's path as
// its text (a test writes it: "C:\\Tools\\EDIT.EXE"). A file whose name does not end in ".lnk",
// an empty file or one the stand-in cannot read is no shortcut.
#pragma once

#include <optional>
#include <vector>
#include <string>

#include "platform/memory/path_map.h"
#include "platform/help_files.h"
#include "platform/shell_links.h"

namespace wdx::platform {

class MemoryShellLinks : public ShellLinks {
 public:
  explicit MemoryShellLinks(const PathMap& paths) : paths_(paths) {}
  std::optional<std::string> Target(const std::string& linkPath) override;

  // Writes a shortcut file at `linkPath` (folders made as needed) that points to `target`.
  void Write(const std::string& linkPath, const std::string& target) const;

 private:
  const PathMap& paths_;
};

// The stand-in help viewer: records what it was asked to show.
class MemoryHelpFiles : public HelpFiles {
 public:
  struct Asked {
    WindowHandle owner = kNoWindow;
    std::string file;
    std::string keyword;
    bool contents = false;
  };
  bool ShowKeyword(WindowHandle owner, const std::string& file, const std::string& keyword) override {
    asked.push_back({owner, file, keyword});
    return true;
  }
  bool ShowContents(WindowHandle owner, const std::string& file) override {
    asked.push_back({owner, file, "", true});
    return true;
  }
  std::vector<Asked> asked;
};

}  // namespace wdx::platform
