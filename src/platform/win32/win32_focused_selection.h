// The focused control of the program in front, on Windows' own functions.
#pragma once

#include "platform/focused_selection.h"

namespace wdx::platform {

class Win32FocusedSelection : public FocusedSelection {
 public:
  bool SendEdit(EditCommand command) override;
};

}  // namespace wdx::platform
