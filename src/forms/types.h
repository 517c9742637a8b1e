// Small value types of the form toolkit: modal results, colours, fonts and style choices.
#pragma once

#include <cstdint>
#include <string>

namespace wdx::forms {

// What a modal form hands back (the Windows dialog result numbers).
enum class ModalResult : int {
  kNone = 0,
  kOk = 1,
  kCancel = 2,
  kAbort = 3,
  kRetry = 4,
  kIgnore = 5,
  kYes = 6,
  kNo = 7,
};

// A colour as Windows stores it (0x00BBGGRR), or a system colour (high bit set, low byte the
// system colour index), resolved by the view when it draws.
using Color = std::uint32_t;
constexpr Color Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}
constexpr Color kSystemColorFlag = 0x80000000u;
constexpr Color kColorWindow = kSystemColorFlag | 5u;
constexpr Color kColorWindowText = kSystemColorFlag | 8u;
constexpr Color kColorHighlight = kSystemColorFlag | 13u;
constexpr Color kColorHighlightText = kSystemColorFlag | 14u;
constexpr Color kColorButtonFace = kSystemColorFlag | 15u;
constexpr Color kColorGrayText = kSystemColorFlag | 17u;
constexpr Color kColorBlack = Rgb(0, 0, 0);
constexpr Color kColorRed = Rgb(255, 0, 0);
constexpr Color kColorBlue = Rgb(0, 0, 255);
constexpr Color kColorWhite = Rgb(255, 255, 255);

// `height` is the character height in pixels (what the dialogs' layouts are measured in).
struct Font {
  std::string name = "Arial";
  int height = 13;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  Color color = kColorWindowText;
  bool operator==(const Font&) const = default;
};

enum class BorderStyle { kDialog, kSingle, kSizeable, kToolWindow, kSizeToolWindow, kNone };
enum class Alignment { kLeft, kCenter, kRight };
enum class ScrollBars { kNone, kHorizontal, kVertical, kBoth };
// kDropDown: an edit field with a list; kDropDownList: pick from the list only.
enum class ComboStyle { kDropDown, kDropDownList };
// What a form's close handler lets happen: kHide closes it, kNone keeps it open.
enum class CloseAction { kNone, kHide };
// How a form's window shows on the screen.
enum class WindowState { kNormal, kMinimized, kMaximized };

// Width and height that the window frame (borders and caption) adds to the client area.
struct FrameExtent {
  int horizontal = 0;
  int vertical = 0;
  bool operator==(const FrameExtent&) const = default;
};

}  // namespace wdx::forms
