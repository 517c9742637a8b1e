// The stand-in's focused control: an edit a test fills with text and a selection, which copies
// the selection to the stand-in clipboard and pastes its text over the selection as an edit
// control does (a copy of an empty selection leaves the clipboard alone).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/focused_selection.h"
#include "platform/memory/memory_clipboard.h"

namespace wdx::platform {

struct MemoryEdit {
  std::string text;
  std::size_t selStart = 0;
  std::size_t selLength = 0;
};

class MemoryFocusedSelection : public FocusedSelection {
 public:
  explicit MemoryFocusedSelection(MemoryClipboard& clipboard) : clipboard_(clipboard) {}

  bool SendEdit(EditCommand command) override;

  // The focused control of the program in front; nullopt: none has the focus.
  std::optional<MemoryEdit> focused;
  std::vector<EditCommand> sent;

 private:
  MemoryClipboard& clipboard_;
};

}  // namespace wdx::platform
