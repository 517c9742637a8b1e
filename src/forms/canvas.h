// A canvas: what owner-drawn controls paint with (a grid's cells). Draw handlers are portable:
// the Win32 view hands them a canvas over the window's device context, the native tests a
// RecordingCanvas that keeps what was drawn and measures text with Arial's widths.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "forms/types.h"
#include "platform/types.h"

namespace wdx::forms {

// A picture a canvas can draw: a built-in one by name, or an icon file.
struct Picture {
  enum class Kind { kNone, kMacro, kMenu, kFile };
  Kind kind = Kind::kNone;
  std::string file;  // a Windows path, for kFile
  bool operator==(const Picture&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // The font text is drawn in and the colour FillRect fills with.
  Font font;
  Color brushColor = kColorWindow;

  virtual void FillRect(const platform::Rect& r) = 0;
  // Draws text with its top left corner at (x, y), clipped to `clip`.
  virtual void WriteText(int x, int y, std::string_view text, const platform::Rect& clip) = 0;
  virtual int TextWidth(std::string_view text) = 0;
  virtual int TextHeight(std::string_view text) = 0;
  // Draws the picture stretched into the rectangle.
  virtual void Draw(const platform::Rect& r, const Picture& picture) = 0;
};

// The longest beginning of `text` (characters dropped from its end) that is at most `width`
// pixels wide on the canvas; empty when not even one character fits.
std::string FitText(Canvas& canvas, std::string_view text, int width);

// A canvas that keeps what is drawn on it, for tests and for reading what a cell shows.
class RecordingCanvas : public Canvas {
 public:
  struct Text {
    int x = 0;
    int y = 0;
    std::string text;
    Font font;
  };
  struct Fill {
    platform::Rect rect;
    Color color = 0;
  };
  struct Drawn {
    platform::Rect rect;
    Picture picture;
  };

  void FillRect(const platform::Rect& r) override;
  void WriteText(int x, int y, std::string_view text, const platform::Rect& clip) override;
  int TextWidth(std::string_view text) override;
  int TextHeight(std::string_view text) override;
  void Draw(const platform::Rect& r, const Picture& picture) override;

  // Every text drawn, joined by a blank.
  std::string AllText() const;

  std::vector<Text> texts;
  std::vector<Fill> fills;
  std::vector<Drawn> pictures;
};

}  // namespace wdx::forms
