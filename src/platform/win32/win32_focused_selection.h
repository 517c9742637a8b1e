// The focused control of the program in front and the clipboard's whole contents, on Windows'
// own functions.
#pragma once

#include "platform/focused_selection.h"

namespace wdx::platform {

class Win32FocusedSelection : public FocusedSelection {
 public:
  Win32FocusedSelection() = default;
  Win32FocusedSelection(const Win32FocusedSelection&) = delete;
  Win32FocusedSelection& operator=(const Win32FocusedSelection&) = delete;
  ~Win32FocusedSelection() override;

  bool SendEdit(EditCommand command) override;
  ClipboardSnapshot SaveClipboard() override;
  void RestoreClipboard(const ClipboardSnapshot& snapshot) override;

 private:
  bool OpenClipboardOwned();
  // A hidden window of our own owns what we put back on the clipboard.
  void* owner_ = nullptr;
};

}  // namespace wdx::platform
