#include "platform/memory/memory_message_boxes.h"

namespace wdx::platform {

int MemoryMessageBoxes::FirstButton(std::uint32_t flags) {
  switch (flags & 0xF) {
    case mb::kAbortRetryIgnore:
      return mb::kIdAbort;
    case mb::kYesNoCancel:
    case mb::kYesNo:
      return mb::kIdYes;
    case mb::kRetryCancel:
      return mb::kIdRetry;
    default:
      return mb::kIdOk;
  }
}

int MemoryMessageBoxes::Show(WindowHandle owner, const std::string& text, const std::string& caption,
                             std::uint32_t flags) {
  shown.push_back({owner, text, caption, flags});
  if (onShow_) {
    const ShownBox box = shown.back();  // the hook may show further boxes
    onShow_(box);
  }
  if (answers_.empty()) return FirstButton(flags);
  int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

}  // namespace wdx::platform
