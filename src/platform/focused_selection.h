// The text selected in the program in front, reached through the clipboard: the edit commands
// (copy, paste) sent to the control that has the keyboard focus there. The clipboard's whole
// contents are kept and put back around them through Clipboard::Save and Restore.
#pragma once

namespace wdx::platform {

enum class EditCommand { kCopy, kPaste };

class FocusedSelection {
 public:
  virtual ~FocusedSelection() = default;
  // Sends the command to the focused control of the window in front and returns when that
  // control has done it; false when no window is in front or none of its controls has the
  // focus (nothing was sent).
  virtual bool SendEdit(EditCommand command) = 0;
};

}  // namespace wdx::platform
