// The help file of the programs: opened at a keyword by the system's help viewer.
#pragma once

#include <string>

#include "platform/types.h"

namespace wdx::platform {

class HelpFiles {
 public:
  virtual ~HelpFiles() = default;
  // Asks the help viewer to show `file` at the topic found by `keyword`, owned by `owner`.
  // Nothing is checked first: a missing file is the viewer's to report. False when the viewer
  // could not be asked at all.
  virtual bool ShowKeyword(WindowHandle owner, const std::string& file, const std::string& keyword) = 0;
  // The same at the file's contents.
  virtual bool ShowContents(WindowHandle owner, const std::string& file) = 0;
};

}  // namespace wdx::platform
