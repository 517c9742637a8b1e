// A canvas over a Windows device context, for the draw handlers of owner-drawn controls.
#pragma once

#include <functional>

#include "forms/canvas.h"
#include "forms/win32/native.h"

namespace wdx::forms::win32 {

class Win32Canvas : public Canvas {
 public:
  // `fonts` gives the GDI font of a model font (the runner keeps them).
  Win32Canvas(HDC dc, std::function<HFONT(const Font&)> fonts);
  ~Win32Canvas() override;
  Win32Canvas(const Win32Canvas&) = delete;
  Win32Canvas& operator=(const Win32Canvas&) = delete;

  void FillRect(const platform::Rect& r) override;
  void WriteText(int x, int y, std::string_view text, const platform::Rect& clip) override;
  int TextWidth(std::string_view text) override;
  int TextHeight(std::string_view text) override;
  void Draw(const platform::Rect& r, const Picture& picture) override;

 private:
  void SelectFont();
  HDC dc_;
  std::function<HFONT(const Font&)> fonts_;
  HGDIOBJ oldFont_;
};

RECT ToRect(const platform::Rect& r);

}  // namespace wdx::forms::win32
