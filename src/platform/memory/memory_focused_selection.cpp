#include "platform/memory/memory_focused_selection.h"

#include <algorithm>

namespace wdx::platform {

bool MemoryFocusedSelection::SendEdit(EditCommand command) {
  if (!focused) return false;
  sent.push_back(command);
  MemoryEdit& e = *focused;
  const std::size_t start = std::min(e.selStart, e.text.size());
  const std::size_t length = std::min(e.selLength, e.text.size() - start);
  if (command == EditCommand::kCopy) {
    if (length > 0) clipboard_.SetText(e.text.substr(start, length));
    return true;
  }
  const std::optional<std::string> pasted = clipboard_.GetText();
  if (!pasted) return true;
  e.text.replace(start, length, *pasted);
  e.selStart = start + pasted->size();
  e.selLength = 0;
  return true;
}

}  // namespace wdx::platform
