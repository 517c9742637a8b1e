// The system clipboard, as text (CF_TEXT: single-byte characters ending at the first NUL).
#pragma once

#include <optional>
#include <string>

namespace wdx::platform {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Empties the clipboard and puts the text on it; false when the clipboard could not be
  // opened (another program holds it) or the text not stored. A NUL ends the text.
  virtual bool SetText(const std::string& text) = 0;
  // The clipboard's text; nullopt when it holds none or cannot be opened.
  virtual std::optional<std::string> GetText() = 0;
};

}  // namespace wdx::platform
