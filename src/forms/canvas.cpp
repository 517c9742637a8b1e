#include "forms/canvas.h"

#include "forms/text_metrics.h"

namespace wdx::forms {

std::string FitText(Canvas& canvas, std::string_view text, int width) {
  std::string fitted(text);
  while (!fitted.empty() && canvas.TextWidth(fitted) > width) fitted.pop_back();
  return fitted;
}

void RecordingCanvas::FillRect(const platform::Rect& r) { fills.push_back({r, brushColor}); }

void RecordingCanvas::WriteText(int x, int y, std::string_view text, const platform::Rect& /*clip*/) {
  texts.push_back({x, y, std::string(text), font});
}

int RecordingCanvas::TextWidth(std::string_view text) { return EstimateTextWidth(font, text); }

int RecordingCanvas::TextHeight(std::string_view /*text*/) {
  // Arial's line height is about 1.15 of its character height.
  return (font.height * 115 + 50) / 100;
}

void RecordingCanvas::Draw(const platform::Rect& r, const Picture& picture) { pictures.push_back({r, picture}); }

std::string RecordingCanvas::AllText() const {
  std::string all;
  for (const Text& t : texts) {
    if (!all.empty()) all += ' ';
    all += t.text;
  }
  return all;
}

}  // namespace wdx::forms
