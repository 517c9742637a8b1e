// The stand-in clipboard: one text slot that tests read and fill, and a switch that makes it
// busy (held by another program).
#pragma once

#include <optional>
#include <string>

#include "platform/clipboard.h"

namespace wdx::platform {

class MemoryClipboard : public Clipboard {
 public:
  bool SetText(const std::string& text) override;
  std::optional<std::string> GetText() override;

  // While busy, SetText and GetText fail and change nothing.
  void SetBusy(bool busy) { busy_ = busy; }
  // What the clipboard holds now (nullopt: no text).
  std::optional<std::string> text;

 private:
  bool busy_ = false;
};

}  // namespace wdx::platform
