#include "platform/memory/memory_focused_selection.h"

#include <algorithm>

namespace wdx::platform {

namespace {

constexpr std::uint32_t kTextFormat = 1;  // CF_TEXT

}  // namespace

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

ClipboardSnapshot MemoryFocusedSelection::SaveClipboard() {
  ClipboardSnapshot snapshot;
  if (const std::optional<std::string> text = clipboard_.GetText()) snapshot.formats.push_back({kTextFormat, *text});
  return snapshot;
}

void MemoryFocusedSelection::RestoreClipboard(const ClipboardSnapshot& snapshot) {
  clipboard_.text.reset();
  for (const auto& [format, bytes] : snapshot.formats) {
    if (format == kTextFormat) clipboard_.text = bytes;
  }
}

}  // namespace wdx::platform
