// The text selected in the program in front, reached through the clipboard: the edit commands
// (copy, paste) sent to the control that has the keyboard focus there, and the clipboard's
// whole contents kept and put back around them, so that a command that works through the
// clipboard leaves the user's clipboard as it found it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace wdx::platform {

enum class EditCommand { kCopy, kPaste };

// What the clipboard held, format by format (the system's format numbers and their bytes).
// Empty: the clipboard held nothing, or nothing that can be kept.
struct ClipboardSnapshot {
  std::vector<std::pair<std::uint32_t, std::string>> formats;
  bool operator==(const ClipboardSnapshot&) const = default;
};

class FocusedSelection {
 public:
  virtual ~FocusedSelection() = default;
  // Sends the command to the focused control of the window in front and returns when that
  // control has done it; false when no window is in front or none of its controls has the
  // focus (nothing was sent).
  virtual bool SendEdit(EditCommand command) = 0;
  virtual ClipboardSnapshot SaveClipboard() = 0;
  // Empties the clipboard and puts the snapshot's formats back (an empty snapshot leaves it
  // empty).
  virtual void RestoreClipboard(const ClipboardSnapshot& snapshot) = 0;
};

}  // namespace wdx::platform
