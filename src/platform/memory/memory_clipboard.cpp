#include "platform/memory/memory_clipboard.h"

namespace wdx::platform {

bool MemoryClipboard::SetText(const std::string& value) {
  if (busy_) return false;
  // CF_TEXT ends at the first NUL.
  text = value.substr(0, value.find('\0'));
  return true;
}

std::optional<std::string> MemoryClipboard::GetText() {
  if (busy_) return std::nullopt;
  return text;
}

}  // namespace wdx::platform
