// Message boxes. The system reports its errors this way, so tests answer them from a script
// and read every caption and text that was shown.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace wdx::platform {

// Button sets and results (the Windows values).
namespace mb {
constexpr std::uint32_t kOk = 0x0, kOkCancel = 0x1, kAbortRetryIgnore = 0x2, kYesNoCancel = 0x3, kYesNo = 0x4,
                        kRetryCancel = 0x5;
constexpr std::uint32_t kIconError = 0x10, kIconQuestion = 0x20, kIconWarning = 0x30, kIconInformation = 0x40;
constexpr std::uint32_t kSystemModal = 0x1000, kTaskModal = 0x2000, kTopMost = 0x40000, kSetForeground = 0x10000;
constexpr int kIdOk = 1, kIdCancel = 2, kIdAbort = 3, kIdRetry = 4, kIdIgnore = 5, kIdYes = 6, kIdNo = 7;
}  // namespace mb

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows a modal message box and returns the button pressed (mb::kIdOk ...).
  virtual int Show(WindowHandle owner, const std::string& text, const std::string& caption, std::uint32_t flags) = 0;
};

}  // namespace wdx::platform
